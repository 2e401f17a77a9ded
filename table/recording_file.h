#pragma once

#include "table/recording_table.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstdint>

// The 512-byte header in front of every recording file (little-endian).
struct RecordingHeader {
    static constexpr int kSize = 512;

    QByteArray magic;        // offset 0, 4 bytes: "KROD"
    int32_t dataLength = 0;  // offset 4: sound-data bytes after the header
    int32_t sampleCount = 0; // offset 8
    int32_t durationMs = 0;  // offset 12
    int8_t encodingType = 0; // offset 16: 0 IMA ADPCM, 1 PCM 8-bit, 2 PCM 16-bit

    bool hasMagic() const { return magic == "KROD"; }

    // bytes must hold at least kSize bytes.
    static RecordingHeader parse(const char *bytes);
};

enum class RecordingCheck { Valid, Missing, WrongFormat };

struct RecordingFile {
    RecordingCheck check = RecordingCheck::Missing;
    RecordingHeader header; // meaningful when check is Valid
};

// Looks at a file about to be added. A path without a file (or naming a
// folder) is Missing; a file shorter than its header or without the magic is
// WrongFormat. Throws OperationError when the file exists but cannot be read.
RecordingFile readRecordingFile(const QString &path);

// The warning shown for a file that is not added.
QString recordingWarning(const QString &path, RecordingCheck check);

// Appends the row of a valid recording file at the end of the table. The
// number, code and type-name columns are left to the refresh.
void appendRecordingRow(RecordingTable &table, const QString &path, const RecordingHeader &header);

// The name the table shows for a path: the text after its last folder separator.
QString fileNameOf(const QString &path);

// Duration in seconds with three significant digits and at most one decimal:
// "2.5", "0.0", "123.0"; beyond three integer digits in exponent form, "1.23E3".
QString secondsText(int32_t durationMs, QChar decimalPoint);
