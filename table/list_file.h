#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QFile;
class QIODevice;

// A list file names recording files, one per line, in Windows-1251.

// Opens a list file for reading, ready for ReadListLine. A file holding a
// zero byte is refused before any name is read: a list saved as UTF-16, or a
// file that is no list at all, would otherwise lose names without a word.
// Throws OperationError when the file cannot be opened or read, or is refused.
void openList(QFile &list);

// Reads up to the next line that holds a name and returns the name's bytes:
// leading bytes 1 to 32 are skipped, the name ends at the first byte below
// 32, blanks inside and at its end stay. Lines longer than 1022 bytes are
// read in pieces of 1022, each a line of its own. Returns nothing at the end
// of the file; throws OperationError when the file cannot be read.
std::optional<QByteArray> ReadListLine(QIODevice &file);

QString decodeListName(const QByteArray &bytes);

// A name without a folder is looked up in the list file's folder.
QString resolveListName(const QString &name, const QString &listFolder);

// Writes the names, each ended by CR LF, replacing the file only once all is
// written. Throws OperationError naming the first name that Windows-1251
// cannot hold (before anything is written) or the file that cannot be written.
void writeList(const QString &path, const QStringList &names);
