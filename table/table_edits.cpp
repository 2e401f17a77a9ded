#include "table/table_edits.h"

#include <utility>

void removeRecordingRow(RecordingTable &table, int row)
{
    // Whole rows move up; the number column they carry along is rewritten by
    // the next refresh.
    for (int r = row; r + 1 < table.rowCount(); ++r)
        table.row(r) = std::move(table.row(r + 1));
    table.setRowCount(table.rowCount() - 1);
}

void SwapRows(RecordingTable &table, int row)
{
    for (int column = ColFileName; column < kColumnCount; ++column)
        std::swap(table.row(row)[column], table.row(row + 1)[column]);
}
