#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// One directory entry as an image holds it.
struct DirectoryEntry {
    int32_t startAddress = 0;
    int32_t sampleCount = 0;
    uint8_t encodingType = 0;
    int32_t pages = 0; // image pages up to the next start address or the image's end
};

// The first place where an image breaks its format.
struct ImageFault {
    qint64 offset = 0;
    QString text;
};

struct ImageInspection {
    qint64 fileLength = 0;
    QStringList catalogue; // the file names, in catalogue order
    std::vector<DirectoryEntry> directory;
    qint64 uploadFill = 0; // FF bytes after the image's end: a received upload's last packet
    std::optional<ImageFault> fault; // none: the image is consistent

    bool consistent() const { return !fault; }
};

// Reads an image file and checks, front to back, everything its format
// promises: the header page, the catalogue lines numbered from 1 with their
// zero and 0xFF fill, one directory entry per line with start addresses from
// 40 on whole pages, the end entry, the zero fill, the file's length against
// the end entry and the checksum. A device keeps an upload's last packet
// whole, its end filled with FF: such a fill, shorter than a page, may
// follow the image. The catalogue and directory hold what was
// read up to the first fault. Throws OperationError when the file cannot be
// opened or read.
ImageInspection inspectImage(const QString &path);
