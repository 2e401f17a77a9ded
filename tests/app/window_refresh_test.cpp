#include "table/recording_grid.h"
#include "tests/support/window_fixture.h"

#include <QLabel>

namespace {

bool shownInAlarm(const QLabel *label)
{
    return label->font().bold() && label->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
}

bool shownPlain(const QLabel *label)
{
    return !label->font().bold() && label->palette().color(QPalette::WindowText) == QColor(0, 0, 0);
}

} // namespace

using WindowRefreshTest = WindowTest;

TEST_F(WindowRefreshTest, EmptyTable)
{
    EXPECT_EQ(window->sgrid->fixedRows(), 0);
    EXPECT_EQ(window->sgrid->row(), 0);
    EXPECT_EQ(window->L_list2->text(), "0");
    EXPECT_EQ(window->freelabel->text(), "Свободно");
    EXPECT_EQ(window->L_free->text(), "4320096");
    EXPECT_TRUE(shownPlain(window->L_list2));
    EXPECT_TRUE(shownPlain(window->L_free));
    for (int column : {ColNumber, ColCode, ColFileName, ColSeconds, ColSize, ColTypeName})
        EXPECT_FALSE(window->sgrid->model()->headerData(column, Qt::Horizontal).toString().isEmpty());
    EXPECT_EQ(window->table().cell(0, ColNumber), "№");
    EXPECT_EQ(window->table().cell(0, ColTypeName), "Тип");
}

TEST_F(WindowRefreshTest, FirstRecordingBecomesTheFixedHeadersNeighbourAndCurrent)
{
    addRecordings(3);
    EXPECT_EQ(window->sgrid->fixedRows(), 1);
    EXPECT_EQ(window->sgrid->row(), 1);
    EXPECT_EQ(window->sgrid->model()->rowCount(), 3);

    window->sgrid->setRow(3);
    window->table().setRowCount(2);
    window->RefreshTable();
    EXPECT_EQ(window->sgrid->row(), 1);

    window->table().setRowCount(1);
    window->RefreshTable();
    EXPECT_EQ(window->sgrid->row(), 0);
    EXPECT_EQ(window->sgrid->fixedRows(), 0);
}

TEST_F(WindowRefreshTest, FullFlashIsFreeAndOnePageMoreIsExcessInRedBold)
{
    // 8182 pages of 528 bytes fill the 32-record model exactly.
    addRecordings(1, 4320096);
    EXPECT_EQ(window->freelabel->text(), "Свободно");
    EXPECT_EQ(window->L_free->text(), "0");
    EXPECT_TRUE(shownPlain(window->L_free));

    addRecordings(1, 1);
    EXPECT_EQ(window->freelabel->text(), "Излишек");
    EXPECT_EQ(window->L_free->text(), "528");
    EXPECT_TRUE(shownInAlarm(window->L_free));
    EXPECT_TRUE(shownInAlarm(window->L_list2));
    EXPECT_TRUE(shownPlain(window->L_max2));
}

TEST_F(WindowRefreshTest, DisabledRowIsSkippedByNumbering)
{
    appendRecording(10);
    appendRecording(10, QStringLiteral("0"));
    appendRecording(10);
    window->RefreshTable();
    EXPECT_EQ(window->totals().numberedCount, 2);
    EXPECT_EQ(window->table().cell(3, ColNumber), "2");
    EXPECT_EQ(window->sgrid->model()->index(1, ColNumber).data().toString(), "");
}
