#pragma once

#include <QString>

#include <array>
#include <vector>

// Columns of the recording table. Row 0 is the header row; every other row
// describes one recording file, in the order it is numbered and written.
enum Column : int {
    ColNumber = 0,     // position among the numbered rows, from 1
    ColCode = 1,       // eight code glyphs, or eight spaces
    ColFileName = 2,   // file name without its folder
    ColSeconds = 3,
    ColSize = 4,       // data length in bytes
    ColPath = 5,       // the path as it was added
    ColTypeName = 6,
    ColTypeNumber = 9, // encoding type from the header
    ColSizeCopy = 13,  // same text as ColSize; nothing reads it
    ColEnabled = 14,   // "1": the row takes part in numbering
};
constexpr int kColumnCount = 15;

// The one store of recordings: fifteen text columns per row, row 0 the header.
class RecordingTable
{
public:
    using Row = std::array<QString, kColumnCount>;

    RecordingTable() : rows_(1) {}

    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool hasRecordings() const { return rows_.size() > 1; }

    // Grows with empty rows or drops rows from the end; the header row stays.
    void setRowCount(int count);

    const QString &cell(int row, int column) const { return rows_[row][column]; }
    void setCell(int row, int column, QString text) { rows_[row][column] = std::move(text); }

    const Row &row(int row) const { return rows_[row]; }
    Row &row(int row) { return rows_[row]; }

private:
    std::vector<Row> rows_;
};

// Writes the header texts into row 0.
void writeHeaderRow(RecordingTable &table);
