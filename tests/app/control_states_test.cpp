#include "app/port_selector.h"
#include "table/recording_grid.h"
#include "tests/support/window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {

using ControlStates = std::map<std::string, bool>;

// The enabled state of every control the two control states touch.
ControlStates statesOf(const TFmain &w)
{
    return {
        {"sgrid", w.sgrid->isEnabled()},           {"B_add", w.B_add->isEnabled()},
        {"B_del", w.B_del->isEnabled()},           {"B_delall", w.B_delall->isEnabled()},
        {"B_play", w.B_play->isEnabled()},         {"B_rec", w.B_rec->isEnabled()},
        {"ComSelect", w.ComSelect->isEnabled()},   {"LoadBinBtn", w.LoadBinBtn->isEnabled()},
        {"RadioButton1", w.RadioButton1->isEnabled()},
        {"RadioButton2", w.RadioButton2->isEnabled()},
        {"RadioButton3", w.RadioButton3->isEnabled()},
        {"SaveBinBtn", w.SaveBinBtn->isEnabled()}, {"GetListBtn", w.GetListBtn->isEnabled()},
        {"SaveListBtn", w.SaveListBtn->isEnabled()},
    };
}

ControlStates allEnabledBut(std::initializer_list<const char *> disabled)
{
    ControlStates states;
    for (const char *name : {"sgrid", "B_add", "B_del", "B_delall", "B_play", "B_rec", "ComSelect",
                             "LoadBinBtn", "RadioButton1", "RadioButton2", "RadioButton3",
                             "SaveBinBtn", "GetListBtn", "SaveListBtn"})
        states[name] = true;
    for (const char *name : disabled)
        states[name] = false;
    return states;
}

const std::initializer_list<const char *> kRowButtons = {"B_play", "B_rec", "SaveBinBtn",
                                                        "SaveListBtn", "B_del", "B_delall"};

} // namespace

using ControlStatesTest = WindowTest;

TEST_F(ControlStatesTest, AfterStartUp)
{
    EXPECT_EQ(statesOf(*window), allEnabledBut({"B_play", "B_rec", "SaveBinBtn", "SaveListBtn",
                                                "B_del", "B_delall", "LoadBinBtn"}));
    EXPECT_TRUE(window->RadioButton3->isChecked());
    EXPECT_EQ(window->ComSelect->currentText(), "COM-порт");
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_FALSE(window->Timer2->isActive());
}

TEST_F(ControlStatesTest, RowButtonsFollowTheRecordingsAndThePlaceholderHoldsBackUpload)
{
    addRecordings(1);
    EXPECT_EQ(statesOf(*window), allEnabledBut({"B_rec", "LoadBinBtn"}));

    window->table().setRowCount(1);
    window->RefreshTable();
    EXPECT_EQ(statesOf(*window), allEnabledBut({"B_play", "B_rec", "SaveBinBtn", "SaveListBtn",
                                                "B_del", "B_delall", "LoadBinBtn"}));
}

TEST_F(ControlStatesTest, PortListDroppedDownLiftsThePlaceholderRule)
{
    dropDownPortList();
    EXPECT_EQ(statesOf(*window), allEnabledBut(kRowButtons));

    addRecordings(1);
    EXPECT_EQ(statesOf(*window), allEnabledBut({}));
}

TEST_F(ControlStatesTest, AnyPortOfARebuiltListKeepsUploadAvailable)
{
    dropDownPortList();
    window->ComSelect->setCurrentIndex(0);
    addRecordings(2);
    EXPECT_EQ(statesOf(*window), allEnabledBut({}));
}

TEST_F(ControlStatesTest, TransferStateLeavesOnlyTheListSaverAsItWas)
{
    dropDownPortList();
    addRecordings(1);
    window->progressb1->setValue(40);

    window->SetTransferState();
    ControlStates transfer = allEnabledBut({"sgrid", "B_add", "B_del", "B_delall", "B_play",
                                            "B_rec", "ComSelect", "LoadBinBtn", "RadioButton1",
                                            "RadioButton2", "RadioButton3", "SaveBinBtn",
                                            "GetListBtn"});
    EXPECT_EQ(statesOf(*window), transfer);
    EXPECT_EQ(window->progressb1->value(), 40);

    window->SetIdleState();
    EXPECT_EQ(statesOf(*window), allEnabledBut({}));
    EXPECT_EQ(window->progressb1->value(), 0);
}

TEST_F(ControlStatesTest, TransferStateKeepsADisabledListSaverDisabled)
{
    window->SetTransferState();
    EXPECT_FALSE(window->SaveListBtn->isEnabled());
}

TEST_F(ControlStatesTest, StoredLayout)
{
    EXPECT_EQ(window->windowTitle(), " Заливка звукоимитатора  v5.01");
    EXPECT_EQ(window->size(), QSize(678, 681));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->font().family(), "Arial");
    EXPECT_EQ(window->font().pixelSize(), 11);

    EXPECT_EQ(window->ImageList1.size(), 7);
    EXPECT_EQ(window->ToolBar1->geometry(), QRect(41, 8, 195, 33));
    EXPECT_EQ(window->B_add->toolTip(), "Добавить в список");
    EXPECT_EQ(window->B_del->toolTip(), "Удалить строку");
    EXPECT_EQ(window->B_delall->toolTip(), "Очистить список");
    EXPECT_EQ(window->B_play->toolTip(), "Озвучивание вкл/выкл");
    EXPECT_EQ(window->GetListBtn->geometry(), QRect(264, 12, 105, 25));
    EXPECT_EQ(window->SaveListBtn->geometry(), QRect(376, 12, 105, 25));
    EXPECT_EQ(window->SaveListBtn->text(), "Сохранить список");
    EXPECT_EQ(window->sgrid->geometry(), QRect(4, 53, 550, 596));
    EXPECT_EQ(window->ComSelect->toolTip(), "Выбор COM - порта");
    EXPECT_EQ(window->ComSelect->width(), 88);
    EXPECT_FALSE(window->ComSelect->isEditable());
    EXPECT_EQ(window->RadioGroup1->title(), "Модель");
    EXPECT_EQ(window->RadioButton1->toolTip(), "Кродан-3, Vexlor-3 (до 32 записей)");
    EXPECT_EQ(window->RadioButton2->toolTip(), "Кродан-4 (до 99 записей)");
    EXPECT_EQ(window->RadioButton3->toolTip(), "Автоматическое распознавание модели устройства");
    EXPECT_EQ(window->B_rec->size(), QSize(96, 32));
    EXPECT_EQ(window->B_rec->toolTip(), "Заливка из списка");
    EXPECT_EQ(window->LoadBinBtn->text(), "Залить образ");
    EXPECT_EQ(window->SaveBinBtn->toolTip(), "Создать BKR-файл образа по таблице");
    EXPECT_EQ(window->Connection->geometry(), QRect(552, 632, 121, 44));
    EXPECT_TRUE(window->Connection->font().bold());
    EXPECT_EQ(window->progressb1->geometry(), QRect(2, 662, 519, 12));
    EXPECT_EQ(window->progressb1->maximum(), 100);
    EXPECT_EQ(window->StaticT2->text(), "Передача данных ");
    EXPECT_EQ(window->ST_wait->text(), "5");
    for (QWidget *hidden : {window->StaticT1, window->StaticT2, window->ST_wait})
        EXPECT_TRUE(hidden->isHidden());
    EXPECT_EQ(window->Timer1->interval(), 1000);
    EXPECT_EQ(window->Timer2->interval(), 2000);
}
