#pragma once

#include <QIODevice>

// Writes every byte to a file opened unbuffered, going on after a partial
// write: a disk that fills up takes part of a write without an error, and
// only the next write fails with the reason. A buffered file would report
// the short write when it flushes, without a reason, and a QSaveFile would
// not report it at all. False, with the file's error set, when a write fails.
inline bool writeAll(QIODevice &file, const char *bytes, qint64 length)
{
    while (length > 0) {
        const qint64 written = file.write(bytes, length);
        if (written <= 0)
            return false;
        bytes += written;
        length -= written;
    }
    return true;
}
