#include "table/recording_grid.h"

#include "table/cell_painter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

RecordingGrid::RecordingGrid(const RecordingTable &table, QWidget *parent)
    : QTableView(parent), table_(table), model_(table)
{
    setHorizontalHeader(new RecordingHeaderView(table, this));
    setItemDelegate(new RecordingCellDelegate(table, [this] { return row_; }, this));
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false); // Tab leaves the grid, as it would leave any control
    setFrameShape(QFrame::Box);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);

    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    header->setFixedHeight(kRowHeight);
}

void RecordingGrid::setRow(int row)
{
    if (row == row_)
        return;
    showRow(row);
    emit gridClick();
}

void RecordingGrid::rowsChanged()
{
    model_.reload();
    showRow(std::min(row_, table_.rowCount() - 1));
}

void RecordingGrid::cellsChanged()
{
    model_.cellsChanged();
}

void RecordingGrid::setColumnWidths(const ColumnWidths &widths)
{
    widths_ = widths;
    for (int column = 0; column < kColumnCount; ++column) {
        const bool shown = widths[column] >= 0;
        setColumnHidden(column, !shown);
        if (shown)
            setColumnWidth(column, widths[column]);
    }
    fitFileNameColumn();
}

// Also called when the scroll bar comes or goes: the room inside changes.
void RecordingGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitFileNameColumn();
}

void RecordingGrid::fitFileNameColumn()
{
    int columnsWidth = 0;
    for (const int width : widths_)
        columnsWidth += std::max(width, 0);
    const int overhang = std::max(columnsWidth - viewport()->width(), 0);
    const int fileNameWidth = std::max(widths_[ColFileName] - overhang, 0);
    if (widths_[ColFileName] >= 0 && columnWidth(ColFileName) != fileNameWidth)
        setColumnWidth(ColFileName, fileNameWidth);
}

void RecordingGrid::showRow(int row)
{
    row_ = row;
    showingRow_ = true;
    if (row > 0) {
        const QModelIndex index = model_.index(row - 1, 0);
        setCurrentIndex(index);
        scrollTo(index);
    } else {
        setCurrentIndex({});
        clearSelection();
    }
    showingRow_ = false;
}

void RecordingGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (showingRow_)
        return;
    // The current column changes too (Left, Right), but only a new row counts.
    const int row = current.isValid() ? current.row() + 1 : 0;
    if (row == row_)
        return;
    row_ = row;
    if (!mousePressing_)
        emit gridClick();
}

void RecordingGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mousePressing_ = true;
    QTableView::mousePressEvent(event);
    mousePressing_ = false;
    if (indexAt(event->position().toPoint()).isValid())
        emit gridClick();
}

void RecordingGrid::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event);
    const bool scrollKey = (event->modifiers() & Qt::ControlModifier)
                           && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down);
    if (!scrollKey) {
        QTableView::keyPressEvent(event);
        return;
    }
    verticalScrollBar()->triggerAction(event->key() == Qt::Key_Up
                                           ? QAbstractSlider::SliderSingleStepSub
                                           : QAbstractSlider::SliderSingleStepAdd);
}
