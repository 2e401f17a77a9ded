#pragma once

#include "table/recording_file.h"
#include "table/recording_table.h"
#include "tests/support/recording_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Adds the row of a recording file as the add dialog does.
inline void addRow(RecordingTable &table, const QString &path)
{
    const RecordingFile file = readRecordingFile(path);
    ASSERT_EQ(file.check, RecordingCheck::Valid) << path.toStdString();
    appendRecordingRow(table, path, file.header);
}

inline QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A table of recording files written into a temporary folder.
class ImageTest : public testing::Test
{
protected:
    ImageTest() { writeHeaderRow(table); }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString add(const QString &name, const RecordingFields &fields)
    {
        const QString file = writeRecording(path(name), fields);
        addRow(table, file);
        return file;
    }

    // A recording of length bytes whose data all hold one value.
    static RecordingFields filled(int32_t length, char value, int32_t samples = 0)
    {
        return {length, samples, 0, 0, QByteArray(length, value)};
    }

    QTemporaryDir dir;
    RecordingTable table;
};
