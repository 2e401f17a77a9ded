#include "table/recording_table_model.h"

RecordingTableModel::RecordingTableModel(const RecordingTable &table, QObject *parent)
    : QAbstractTableModel(parent), table_(table)
{
}

int RecordingTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.rowCount() - 1;
}

int RecordingTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant RecordingTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return table_.cell(index.row() + 1, index.column());
}

QVariant RecordingTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return table_.cell(0, section);
}

void RecordingTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void RecordingTableModel::cellsChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}
