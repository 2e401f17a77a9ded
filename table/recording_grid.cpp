#include "table/recording_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

RecordingGrid::RecordingGrid(const RecordingTable &table, QWidget *parent)
    : QTableView(parent), table_(table), model_(table)
{
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
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

void RecordingGrid::setColumnWidths(const ColumnWidths &widths)
{
    for (int column = 0; column < kColumnCount; ++column) {
        const bool shown = widths[column] >= 0;
        setColumnHidden(column, !shown);
        if (shown)
            setColumnWidth(column, widths[column]);
    }
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
    row_ = current.isValid() ? current.row() + 1 : 0;
    if (!mousePressing_)
        emit gridClick();
}

void RecordingGrid::mousePressEvent(QMouseEvent *event)
{
    mousePressing_ = true;
    QTableView::mousePressEvent(event);
    mousePressing_ = false;
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit gridClick();
}

void RecordingGrid::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event);
    QTableView::keyPressEvent(event);
}
