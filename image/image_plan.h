#pragma once

#include "image/image_format.h"
#include "table/recording_table.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// One recording as the image lays it out, from its file's header. The file
// stays open from its header to the copy of its data, so both passes over
// the data read the same file.
struct PlannedRecording {
    QString path;
    std::unique_ptr<QFile> file; // unbuffered, just past the header
    int32_t dataLength = 0;
    int32_t sampleCount = 0;
    int8_t encodingType = 0;
    int32_t startAddress = 0;
};

// Everything the image's first five pages say, known before a byte of the
// image is written.
struct ImagePlan {
    QByteArray catalogue; // the catalogue lines, without the terminating zero
    std::vector<PlannedRecording> recordings;
    int32_t endAddress = kFirstAddress; // the address after the last recording

    qint64 imageLength() const { return qint64{endAddress / kUnitsPerPage} * kImagePageSize; }
    qint64 regionLength() const { return imageLength() - kDirectoryOffset; }
};

// Lays out the image of every row of the table, whatever its enabled flag,
// from column 2 (the catalogue) and the header of the file in column 5.
// Throws OperationError, with the reason in the user's words, for a file
// that is missing, cannot be read or is shorter than its header, and for a
// table the format cannot hold: a catalogue over its area, more entries
// than the directory page takes, a start address, sample count or region
// length past its field, a negative data length, a name Windows-1251 lacks.
ImagePlan planImage(const RecordingTable &table);
