#include "table/refresh_table.h"

#include "core/wrap32.h"

namespace {

constexpr const char *kCodePatterns[kCodePatternCount] = {
    "01111111", "10111111", "11011111", "11101111", "11110111", "11111011", "11111101", "11111110",
    "01111110", "10111110", "11011110", "11101110", "11110110", "11111010", "11111100", "01111101",
    "10111101", "11011101", "11101101", "11110101", "11111001", "01111100", "10111100", "11011100",
    "11101100", "11110100", "11111000", "01111000", "10111000", "11011000", "11101000", "11110000",
};

constexpr int kNumberWidth = 25;
constexpr int kCodeWidth = 90;

// Column text that is not a number counts as 0, so a damaged cell cannot stop the refresh.
int32_t numberIn(const QString &text)
{
    return text.toInt();
}

int32_t roundUpToPages(int32_t size, int32_t pageSize)
{
    if (pageSize <= 0)
        return 0;
    return wrap32(int64_t{wrap32(int64_t{size} + pageSize - 1) / pageSize} * pageSize);
}

} // namespace

QString codePatternGlyphs(int n)
{
    QString glyphs(8, kCodeGlyphOff);
    const char *pattern = kCodePatterns[n - 1];
    for (int i = 0; i < 8; ++i)
        glyphs[i] = pattern[i] == '0' ? kCodeGlyphOff : kCodeGlyphOn;
    return glyphs;
}

QString typeNameOf(int type)
{
    switch (type) {
    case 0: return QStringLiteral("АДИКМ");
    case 1: return QStringLiteral("ИКМ 8");
    case 2: return QStringLiteral("ИКМ 16");
    default: return {};
    }
}

ColumnWidths startupColumnWidths()
{
    ColumnWidths widths;
    widths.fill(-1);
    widths[ColNumber] = kNumberWidth;
    widths[ColCode] = kCodeWidth;
    widths[ColFileName] = 250;
    widths[ColSeconds] = 65;
    widths[ColSize] = 65;
    widths[ColTypeName] = 55;
    return widths;
}

void applyColumnLayout(ColumnWidths &widths, int32_t maxRecords)
{
    const bool wide = maxRecords > kCodePatternCount;
    widths[ColNumber] = kNumberWidth;
    widths[ColCode] = wide ? -1 : kCodeWidth;
    widths[ColFileName] = wide ? 270 : 250;
    widths[ColSeconds] = wide ? 75 : 65;
    widths[ColSize] = wide ? 75 : 65;
    widths[ColTypeName] = wide ? 85 : 55;
}

int gridWidthOf(const ColumnWidths &widths)
{
    return widths[ColNumber] + widths[ColCode] + widths[ColFileName] + widths[ColSeconds]
           + widths[ColSize] + widths[ColTypeName];
}

TableTotals refreshRows(RecordingTable &table, int32_t pageSize)
{
    static const QString kNoCode(8, QLatin1Char(' '));
    static const QString kEnabled = QStringLiteral("1");

    TableTotals totals;
    for (int r = 1; r < table.rowCount(); ++r) {
        RecordingTable::Row &row = table.row(r);
        totals.usedVolume = wrap32(int64_t{totals.usedVolume}
                                   + roundUpToPages(numberIn(row[ColSize]), pageSize));
        row[ColTypeName] = typeNameOf(numberIn(row[ColTypeNumber]));
        if (row[ColEnabled] == kEnabled) {
            row[ColNumber] = QString::number(totals.numberedCount + 1);
            row[ColCode] = totals.numberedCount < kCodePatternCount
                               ? codePatternGlyphs(totals.numberedCount + 1)
                               : kNoCode;
            ++totals.numberedCount;
        } else {
            row[ColNumber].clear();
        }
    }
    return totals;
}

VolumeLabels volumeLabelsOf(const TableTotals &totals, int32_t maxVolume)
{
    VolumeLabels labels;
    labels.used = QString::number(totals.usedVolume);
    labels.max = QString::number(maxVolume);
    labels.overflow = totals.usedVolume > maxVolume;
    labels.freeCaption = labels.overflow ? QStringLiteral("Излишек") : QStringLiteral("Свободно");
    const int64_t difference = labels.overflow ? int64_t{totals.usedVolume} - maxVolume
                                               : int64_t{maxVolume} - totals.usedVolume;
    labels.free = QString::number(wrap32(difference));
    return labels;
}
