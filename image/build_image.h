#pragma once

#include "table/recording_table.h"

#include <QString>

// Writes the flash image of every row of the table to path, replacing the
// file only once the whole image is written, and returns its length in
// bytes. The recording files are read when it runs, twice: once for the
// checksum that precedes the data, once to copy the data. Every refusal of
// planImage() comes before the image file is touched; any failure throws
// OperationError and leaves the file at path as it was.
qint64 BuildImage(const RecordingTable &table, const QString &path);
