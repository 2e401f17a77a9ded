#pragma once

#include "table/cell_style.h"
#include "table/recording_table.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

#include <functional>

class QPainter;

// Paints one cell of the recording grid in its style: fills the cell and
// draws its text 2 px below the top and 2 px in from the left, or ending
// 2 px before the right edge when right-aligned; nothing leaves the cell.
void sgridDrawCell(QPainter &painter, const QRect &cell, const CellStyle &style, const QString &text);

// Draws the recording rows through sgridDrawCell; the grid's own selection
// colours never show, the selected row is told by its bold text.
class RecordingCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    RecordingCellDelegate(const RecordingTable &table, std::function<int()> selectedRow,
                          QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    const RecordingTable &table_;
    std::function<int()> selectedRow_;
};

// The header row (row 0 of the table), drawn through sgridDrawCell.
class RecordingHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    RecordingHeaderView(const RecordingTable &table, QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    const RecordingTable &table_;
};
