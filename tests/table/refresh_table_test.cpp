#include "table/refresh_table.h"

#include <gtest/gtest.h>

namespace {

// Appends a recording row the way adding a file fills it.
void addRow(RecordingTable &table, int size, int type = 0, const QString &enabled = "1")
{
    const int row = table.rowCount();
    table.setRowCount(row + 1);
    table.setCell(row, ColFileName, QStringLiteral("r%1.krd").arg(row));
    table.setCell(row, ColSize, QString::number(size));
    table.setCell(row, ColTypeNumber, QString::number(type));
    table.setCell(row, ColEnabled, enabled);
}

RecordingTable tableOfSizes(std::initializer_list<int> sizes)
{
    RecordingTable table;
    writeHeaderRow(table);
    for (int size : sizes)
        addRow(table, size);
    return table;
}

QString glyphs(const char *pattern)
{
    QString text;
    for (const char *c = pattern; *c; ++c)
        text += *c == '0' ? kCodeGlyphOff : kCodeGlyphOn;
    return text;
}

} // namespace

TEST(RefreshTable, EveryRowIsRoundedUpToWholePages)
{
    struct Case {
        int size;
        int32_t pageSize;
        int32_t used;
    };
    for (const Case &c : {Case{0, 528, 0}, Case{1, 528, 528}, Case{528, 528, 528},
                          Case{529, 528, 1056}, Case{1056, 1056, 1056}, Case{1057, 1056, 2112},
                          Case{-5, 528, 0}}) {
        RecordingTable table = tableOfSizes({c.size});
        EXPECT_EQ(refreshRows(table, c.pageSize).usedVolume, c.used) << c.size << " / " << c.pageSize;
    }
}

TEST(RefreshTable, DisabledRowsCountInVolumeButAreNotNumbered)
{
    RecordingTable table = tableOfSizes({100, 100, 100});
    table.setCell(2, ColEnabled, QStringLiteral("0"));
    table.setCell(2, ColCode, QStringLiteral("kept"));

    const TableTotals totals = refreshRows(table, 528);

    EXPECT_EQ(totals.usedVolume, 3 * 528);
    EXPECT_EQ(totals.numberedCount, 2);
    EXPECT_EQ(table.cell(1, ColNumber), "1");
    EXPECT_EQ(table.cell(2, ColNumber), "");
    EXPECT_EQ(table.cell(2, ColCode), "kept");
    EXPECT_EQ(table.cell(3, ColNumber), "2");
    EXPECT_EQ(table.cell(3, ColCode), glyphs("10111111"));
}

TEST(RefreshTable, OnlyAnExactOneEnablesARow)
{
    RecordingTable table = tableOfSizes({1, 1, 1});
    table.setCell(1, ColEnabled, QStringLiteral("1 "));
    table.setCell(2, ColEnabled, QString());
    EXPECT_EQ(refreshRows(table, 528).numberedCount, 1);
    EXPECT_EQ(table.cell(3, ColNumber), "1");
}

TEST(RefreshTable, CodePatternsStopAfterThe32ndNumberedRow)
{
    RecordingTable table;
    writeHeaderRow(table);
    for (int i = 0; i < 40; ++i)
        addRow(table, 10);

    refreshRows(table, 528);

    EXPECT_EQ(table.cell(1, ColCode), glyphs("01111111"));
    EXPECT_EQ(table.cell(32, ColCode), glyphs("11110000"));
    EXPECT_EQ(table.cell(33, ColCode), QString(8, QLatin1Char(' ')));
    EXPECT_EQ(table.cell(40, ColNumber), "40");
}

TEST(RefreshTable, TypeNamesForKnownTypesOnly)
{
    RecordingTable table;
    writeHeaderRow(table);
    for (int type : {0, 1, 2, 3, -1})
        addRow(table, 10, type);
    table.setCell(1, ColTypeName, QStringLiteral("stale"));

    refreshRows(table, 528);

    EXPECT_EQ(table.cell(1, ColTypeName), "АДИКМ");
    EXPECT_EQ(table.cell(2, ColTypeName), "ИКМ 8");
    EXPECT_EQ(table.cell(3, ColTypeName), "ИКМ 16");
    EXPECT_EQ(table.cell(4, ColTypeName), "");
    EXPECT_EQ(table.cell(5, ColTypeName), "");
}

TEST(RefreshTable, TextThatIsNotANumberCountsAsZero)
{
    RecordingTable table = tableOfSizes({528});
    addRow(table, 0);
    table.setCell(2, ColSize, QStringLiteral("12kb"));
    table.setCell(2, ColTypeNumber, QStringLiteral("x"));

    EXPECT_EQ(refreshRows(table, 528).usedVolume, 528);
    EXPECT_EQ(table.cell(2, ColTypeName), "АДИКМ");
}

TEST(RefreshTable, UsedVolumeWrapsAt32Bits)
{
    RecordingTable table = tableOfSizes({2000000000, 2000000000});
    const int64_t page = 528;
    const int64_t rounded = (2000000000 + page - 1) / page * page;
    EXPECT_EQ(refreshRows(table, 528).usedVolume, static_cast<int32_t>(2 * rounded - 4294967296LL));
}

TEST(VolumeLabels, EqualityIsFreeAndOnePageMoreIsExcess)
{
    const VolumeLabels full = volumeLabelsOf({4320096, 1}, 4320096);
    EXPECT_EQ(full.freeCaption, "Свободно");
    EXPECT_EQ(full.free, "0");
    EXPECT_FALSE(full.overflow);

    const VolumeLabels over = volumeLabelsOf({4320096 + 528, 1}, 4320096);
    EXPECT_EQ(over.freeCaption, "Излишек");
    EXPECT_EQ(over.free, "528");
    EXPECT_EQ(over.used, "4320624");
    EXPECT_EQ(over.max, "4320096");
    EXPECT_TRUE(over.overflow);
}

TEST(ColumnLayout, CodeColumnLayoutUpTo32RecordsAndWideAbove)
{
    ColumnWidths widths = startupColumnWidths();
    EXPECT_EQ(gridWidthOf(widths), 550);
    EXPECT_EQ(widths[ColPath], -1);

    applyColumnLayout(widths, 99);
    EXPECT_EQ(widths[ColCode], -1);
    EXPECT_EQ(widths[ColFileName], 270);
    EXPECT_EQ(widths[ColTypeName], 85);
    EXPECT_EQ(gridWidthOf(widths), 529);

    applyColumnLayout(widths, 32);
    EXPECT_EQ(widths, startupColumnWidths());
}
