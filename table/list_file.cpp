#include "table/list_file.h"

#include "core/operation_error.h"
#include "core/write_all.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace {

constexpr qint64 kPieceLength = 1022;
constexpr char kWindows1251[] = "windows-1251";

bool isBlankOrControl(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    return code >= 1 && code <= 32;
}

bool endsName(char byte)
{
    return static_cast<unsigned char>(byte) < 32;
}

// A short read is the end of the file unless a file reports an error.
bool readFailed(const QIODevice &file)
{
    const auto *named = qobject_cast<const QFileDevice *>(&file);
    return named && named->error() != QFileDevice::NoError;
}

QString fileErrorText(const QIODevice &file)
{
    const auto *named = qobject_cast<const QFileDevice *>(&file);
    return named ? named->fileName() + QStringLiteral(": ") + file.errorString() : file.errorString();
}

QString readErrorText(const QIODevice &file)
{
    return QStringLiteral("Не удалось прочитать список ") + fileErrorText(file);
}

bool holdsZeroByte(QFile &file)
{
    char block[64 * 1024];
    for (;;) {
        const qint64 length = file.read(block, sizeof block);
        if (length < 0)
            throw OperationError(readErrorText(file));
        if (length == 0)
            return false;
        if (std::memchr(block, '\0', static_cast<size_t>(length)))
            return true;
    }
}

} // namespace

void openList(QFile &list)
{
    if (!list.open(QIODevice::ReadOnly))
        throw OperationError(QStringLiteral("Не удалось открыть список %1: %2").arg(list.fileName(), list.errorString()));
    if (holdsZeroByte(list))
        throw OperationError(QStringLiteral("Список %1 - неверный формат: в нем есть нулевые байты, а список - "
                                            "это текст в кодировке Windows-1251, по имени файла в строке")
                                 .arg(list.fileName()));
    if (!list.seek(0))
        throw OperationError(readErrorText(list));
}

std::optional<QByteArray> ReadListLine(QIODevice &file)
{
    char piece[kPieceLength + 1];
    for (;;) {
        const qint64 length = file.readLine(piece, sizeof piece);
        if (length < 0) {
            if (!readFailed(file))
                return std::nullopt;
            throw OperationError(readErrorText(file));
        }
        // The piece is a C string: a zero byte ends it.
        const char *byte = piece;
        while (isBlankOrControl(*byte))
            ++byte;
        if (*byte == '\0')
            continue;
        const char *end = byte;
        while (!endsName(*end))
            ++end;
        return QByteArray(byte, end - byte);
    }
}

QString decodeListName(const QByteArray &bytes)
{
    QStringDecoder decoder(kWindows1251);
    return decoder.decode(bytes);
}

QString resolveListName(const QString &name, const QString &listFolder)
{
    return QFileInfo(name).isAbsolute() ? name : QDir(listFolder).filePath(name);
}

void writeList(const QString &path, const QStringList &names)
{
    QByteArray text;
    for (const QString &name : names) {
        QStringEncoder encoder(kWindows1251, QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(name);
        if (encoder.hasError())
            throw OperationError(QStringLiteral("Имя файла %1 нельзя записать в список: "
                                                "в кодировке Windows-1251 нет его знаков")
                                     .arg(name));
        text += bytes + "\r\n";
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, text.constData(), text.size())
        || !file.commit())
        throw OperationError(QStringLiteral("Не удалось записать список %1: %2")
                                 .arg(path, file.errorString()));
}
