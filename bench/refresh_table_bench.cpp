// How long a table refresh takes over 10,000 recordings: the row pass alone
// and the whole refresh of the window (layout, labels, grid), which must stay
// well under one frame (16 ms).
#include "app/tfmain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 10000;

void fill(RecordingTable &table)
{
    writeHeaderRow(table);
    table.setRowCount(kRows + 1);
    for (int row = 1; row <= kRows; ++row) {
        table.setCell(row, ColFileName, QStringLiteral("recording%1.krd").arg(row));
        table.setCell(row, ColSize, QString::number(1000 + row));
        table.setCell(row, ColPath, QStringLiteral("/data/recording%1.krd").arg(row));
        table.setCell(row, ColTypeNumber, QString::number(row % 3));
        table.setCell(row, ColEnabled, row % 10 ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

void BM_RefreshRows(benchmark::State &state)
{
    RecordingTable table;
    fill(table);
    for (auto _ : state)
        benchmark::DoNotOptimize(refreshRows(table, 528));
}
BENCHMARK(BM_RefreshRows)->Unit(benchmark::kMillisecond);

void BM_WindowRefreshTable(benchmark::State &state)
{
    TFmain window;
    fill(window.table());
    window.show();
    for (auto _ : state)
        window.RefreshTable();
}
BENCHMARK(BM_WindowRefreshTable)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
