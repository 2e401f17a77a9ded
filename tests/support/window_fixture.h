#pragma once

#include "app/tfmain.h"
#include "tests/support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <memory>

// Picks the port named portName with model's button chosen by hand, as the
// port list would, and lets the presence poll tick until it recognises the
// device (a busy machine may need more than one); true once it has.
bool connectWindowTo(TFmain &window, DeviceModel model, const QString &portName);

// A main window on the offscreen platform with scripted prompts.
class WindowTest : public testing::Test
{
protected:
    void SetUp() override { window = std::make_unique<TFmain>(&prompts); }

    // Appends a recording row as adding a file would, without a refresh.
    void appendRecording(int size, const QString &enabled = QStringLiteral("1"))
    {
        RecordingTable &table = window->table();
        const int row = table.rowCount();
        table.setRowCount(row + 1);
        table.setCell(row, ColFileName, QStringLiteral("rec%1.krd").arg(row));
        table.setCell(row, ColSize, QString::number(size));
        table.setCell(row, ColPath, QStringLiteral("/nowhere/rec%1.krd").arg(row));
        table.setCell(row, ColTypeNumber, QStringLiteral("0"));
        table.setCell(row, ColEnabled, enabled);
    }

    void addRecordings(int count, int size = 1000)
    {
        for (int i = 0; i < count; ++i)
            appendRecording(size);
        window->RefreshTable();
    }

    // What the first drop-down of the port list leaves: the list rebuilt
    // (here with two ports), nothing selected.
    void dropDownPortList(const QStringList &ports = {QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")});

    ScriptedPrompts prompts;
    std::unique_ptr<TFmain> window;
};
