#include "table/recording_grid.h"
#include "tests/support/window_fixture.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

// Clicks on the button's indicator, which takes the click whatever its text.
void click(QRadioButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

} // namespace

using DeviceProfileChoiceTest = WindowTest;

TEST_F(DeviceProfileChoiceTest, StartsWithThe32RecordProfileAndNoBlockSize)
{
    EXPECT_EQ(window->profile(), startupProfile());
    EXPECT_EQ(window->profile().blockSize, 0);
    EXPECT_EQ(window->L_max2->text(), "4320096");
}

TEST_F(DeviceProfileChoiceTest, ChoosingTheModelsInstallsTheirProfilesAndLayouts)
{
    addRecordings(1, 1000);
    EXPECT_EQ(window->L_list2->text(), "1056");

    click(window->RadioButton2);
    EXPECT_TRUE(window->RadioButton2->isChecked());
    EXPECT_EQ(window->profile(), fixedProfile(DeviceModel::Records99));
    EXPECT_EQ(window->L_max2->text(), "8645472");
    EXPECT_EQ(window->L_list2->text(), "1056");
    EXPECT_TRUE(window->sgrid->isColumnHidden(ColCode));
    EXPECT_EQ(window->sgrid->width(), 529);

    click(window->RadioButton1);
    EXPECT_EQ(window->profile(), fixedProfile(DeviceModel::Records32));
    EXPECT_EQ(window->profile().blockSize, 128);
    EXPECT_FALSE(window->sgrid->isColumnHidden(ColCode));
    EXPECT_EQ(window->sgrid->columnWidth(ColCode), 90);
    EXPECT_EQ(window->sgrid->width(), 550);
}

TEST_F(DeviceProfileChoiceTest, SelectingFromCodeRunsTheHandlerAsAClickDoes)
{
    window->RadioButton2->setChecked(true);
    EXPECT_EQ(window->profile(), fixedProfile(DeviceModel::Records99));
    EXPECT_FALSE(window->RadioButton3->isChecked());
}

TEST_F(DeviceProfileChoiceTest, TheSelectedButtonAgainRefreshesNothing)
{
    click(window->RadioButton1);
    addRecordings(1);
    // A refresh would write the number back.
    window->table().setCell(1, ColNumber, QString());

    click(window->RadioButton1);
    EXPECT_EQ(window->table().cell(1, ColNumber), "");
}

TEST_F(DeviceProfileChoiceTest, AutoChangesNeitherProfileNorTable)
{
    window->RadioButton2->setChecked(true);
    addRecordings(1);
    window->table().setCell(1, ColNumber, QString());

    click(window->RadioButton3);
    EXPECT_TRUE(window->RadioButton3->isChecked());
    EXPECT_EQ(window->profile(), fixedProfile(DeviceModel::Records99));
    EXPECT_EQ(window->table().cell(1, ColNumber), "");
}
