#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Builds and writes recording files for tests.
struct RecordingFields {
    int32_t dataLength = 0;
    int32_t sampleCount = 0;
    int32_t durationMs = 0;
    int8_t type = 0;
    QByteArray data;              // written after the header as it is
    QByteArray magic = "KROD";
};

QByteArray recordingBytes(const RecordingFields &fields);

// Writes the file at path (folders must exist) and returns the path.
QString writeRecording(const QString &path, const RecordingFields &fields);
QString writeFile(const QString &path, const QByteArray &bytes);
