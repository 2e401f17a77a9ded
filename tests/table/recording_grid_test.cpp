#include "table/recording_grid.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

// The grid's click is what a playing preview follows: it must come exactly
// when the user or the program picks a row, and never otherwise.
class RecordingGridTest : public testing::Test
{
protected:
    void show(int recordings, int height = 200)
    {
        table.setRowCount(recordings + 1);
        for (int row = 1; row <= recordings; ++row)
            table.setCell(row, ColFileName, QStringLiteral("rec%1.krd").arg(row));
        grid.rowsChanged();
        grid.resize(300, height);
        grid.show();
    }

    QPoint centreOf(int row) const
    {
        return grid.visualRect(grid.model()->index(row - 1, ColFileName)).center();
    }

    void click(Qt::MouseButton button, QPoint at)
    {
        QTest::mouseClick(grid.viewport(), button, Qt::NoModifier, at);
    }

    RecordingTable table;
    RecordingGrid grid{table};
    QSignalSpy clicks{&grid, &RecordingGrid::gridClick};
};

TEST_F(RecordingGridTest, ALeftClickOnARowSelectsItAndClicksOnceAlsoOnTheSelectedRow)
{
    show(3);
    click(Qt::LeftButton, centreOf(2));
    EXPECT_EQ(grid.row(), 2);
    EXPECT_EQ(clicks.count(), 1);

    click(Qt::LeftButton, centreOf(2));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(RecordingGridTest, OtherButtonsAndTheEmptyAreaLeaveTheSelectionAlone)
{
    show(3);
    grid.setRow(1);
    clicks.clear();
    click(Qt::RightButton, centreOf(3));
    click(Qt::MiddleButton, centreOf(2));
    click(Qt::LeftButton, QPoint(20, 190));
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(RecordingGridTest, KeyboardMovesOfTheRowClick)
{
    show(3);
    grid.setRow(1);
    clicks.clear();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.row(), 2);
    EXPECT_EQ(clicks.count(), 1);

    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(grid.row(), 3);
    EXPECT_EQ(clicks.count(), 2);

    // Nowhere to go, or only across the row: no click.
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.row(), 3);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(RecordingGridTest, SetRowClicksOnlyWhenTheRowChanges)
{
    show(3);
    grid.setRow(2);
    grid.setRow(2);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(RecordingGridTest, RemovedRowsMoveTheSelectionWithoutAClick)
{
    show(5);
    grid.setRow(5);
    clicks.clear();
    table.setRowCount(3);
    grid.rowsChanged();
    EXPECT_EQ(grid.row(), 2);

    table.setRowCount(1);
    grid.rowsChanged();
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(RecordingGridTest, CtrlUpAndDownScrollByOneRowAndLeaveTheSelection)
{
    show(40, 10 * RecordingGrid::kRowHeight);
    grid.setRow(1);
    clicks.clear();
    QScrollBar *rows = grid.verticalScrollBar();

    QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(rows->value(), 2);
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(rows->value(), 1);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(RecordingGridTest, UnderAScrollBarTheFileNamesGiveWayAndTheLastColumnStaysWhole)
{
    ColumnWidths widths = startupColumnWidths();
    grid.setColumnWidths(widths);
    for (const int recordings : {3, 100}) {
        show(recordings);
        grid.resize(gridWidthOf(widths), 200);
        QCoreApplication::processEvents();
        SCOPED_TRACE(recordings);
        EXPECT_EQ(grid.verticalScrollBar()->isVisible(), recordings == 100);
        EXPECT_EQ(grid.columnWidth(ColTypeName), widths[ColTypeName]);
        EXPECT_EQ(grid.columnViewportPosition(ColTypeName) + grid.columnWidth(ColTypeName),
                  grid.viewport()->width());
    }
}
