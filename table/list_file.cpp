#include "table/list_file.h"

#include "core/operation_error.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

} // namespace

std::optional<QByteArray> ReadListLine(QIODevice &file)
{
    char piece[kPieceLength + 1];
    for (;;) {
        const qint64 length = file.readLine(piece, sizeof piece);
        if (length < 0) {
            if (!readFailed(file))
                return std::nullopt;
            throw OperationError(QStringLiteral("Не удалось прочитать список ") + fileErrorText(file));
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
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw OperationError(QStringLiteral("Не удалось записать список %1: %2")
                                 .arg(path, file.errorString()));
}
