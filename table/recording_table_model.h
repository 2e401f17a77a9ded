#pragma once

#include "table/recording_table.h"

#include <QAbstractTableModel>

// Shows a RecordingTable to the grid: model row r is table row r + 1, and the
// header row 0 becomes the horizontal header.
class RecordingTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordingTableModel(const RecordingTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The table's rows were added, removed or rewritten.
    void reload();
    // Cells of the existing rows were rewritten; the number of rows is the same.
    void cellsChanged();

private:
    const RecordingTable &table_;
};
