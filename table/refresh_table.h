#pragma once

#include "table/recording_table.h"

#include <QString>

#include <array>
#include <cstdint>

// Code glyphs: a pattern's '0' shows as a hollow marker, '1' as a filled one.
inline constexpr QChar kCodeGlyphOff = QChar(0x25CB);
inline constexpr QChar kCodeGlyphOn = QChar(0x25CF);
inline constexpr int kCodePatternCount = 32;

// The code pattern of the n-th numbered row, n from 1 to 32, as glyphs.
QString codePatternGlyphs(int n);

// Type name shown for an encoding type, empty for an unknown type.
QString typeNameOf(int type);

// Widths of the fifteen columns in pixels; -1 hides a column.
using ColumnWidths = std::array<int, kColumnCount>;

ColumnWidths startupColumnWidths();

// The code-column layout for up to 32 records, the wide layout above that.
void applyColumnLayout(ColumnWidths &widths, int32_t maxRecords);

// The grid's width: the widths of the shown columns 0-4 and 6, a hidden one counting -1.
int gridWidthOf(const ColumnWidths &widths);

struct TableTotals {
    int32_t usedVolume = 0;    // bytes, every row rounded up to whole pages
    int32_t numberedCount = 0; // rows whose enabled flag is "1"
};

// Rewrites the number, code and type-name columns of every recording row and
// counts the used volume in pages of pageSize bytes.
TableTotals refreshRows(RecordingTable &table, int32_t pageSize);

struct VolumeLabels {
    QString used;
    QString max;
    QString freeCaption; // "Свободно" or "Излишек"
    QString free;
    bool overflow = false; // used volume above max volume: red and bold
};

VolumeLabels volumeLabelsOf(const TableTotals &totals, int32_t maxVolume);
