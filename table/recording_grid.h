#pragma once

#include "table/recording_table_model.h"
#include "table/refresh_table.h"

#include <QKeyEvent>
#include <QTableView>

// The recording table on screen. Its row numbers are those of the
// RecordingTable: row 0 is the header row, which is also the selected row
// while the table holds no recording.
//
// gridClick() is raised for a left mouse click on a recording row (also the
// selected one), for every move of the selected row by the keyboard and for
// every setRow() that changes the row; it is not raised when the selection
// follows removed rows. Other mouse buttons leave the selection alone.
//
// Ctrl+Up and Ctrl+Down scroll the rows by one and leave the selection.
class RecordingGrid : public QTableView
{
    Q_OBJECT
public:
    static constexpr int kRowHeight = 17;

    explicit RecordingGrid(const RecordingTable &table, QWidget *parent = nullptr);

    int row() const { return row_; }
    void setRow(int row);

    // The table's rows changed: show them, keeping the selected row where it
    // was or, when rows were removed below it, on the new last row.
    void rowsChanged();

    // Cells of the shown rows were rewritten (rows exchanged); the rows stay.
    void cellsChanged();

    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int rows) { fixedRows_ = rows; }

    // Hidden columns have a negative width. Where the frame and the scroll
    // bar leave less room than the columns take, the file-name column gives
    // way, so that the numbers and type names stay whole.
    void setColumnWidths(const ColumnWidths &widths);

signals:
    void gridClick();
    // Raised before the grid's own handling of the key.
    void keyDown(QKeyEvent *event);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showRow(int row);
    void fitFileNameColumn();

    const RecordingTable &table_;
    RecordingTableModel model_;
    ColumnWidths widths_{};
    int row_ = 0;
    int fixedRows_ = 0;
    bool showingRow_ = false;
    bool mousePressing_ = false;
};
