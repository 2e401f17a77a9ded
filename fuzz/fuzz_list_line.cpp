// ReadListLine over any list file, against the rule it follows written out
// plainly: pieces of at most 1022 bytes that end after a line feed, each
// read as text up to its first zero byte, leading bytes 1 to 32 skipped,
// the name ended by the first byte below 32, pieces with no name skipped.
#include "fuzz/fuzz_support.h"
#include "table/list_file.h"

#include <QFile>

namespace {

constexpr qsizetype kPieceLength = 1022;

QList<QByteArray> namesByTheRule(const QByteArray &text)
{
    QList<QByteArray> names;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at;
        while (end < text.size() && end - at < kPieceLength)
            if (text[end++] == '\n')
                break;
        QByteArray piece = text.mid(at, end - at);
        at = end;
        piece.truncate(piece.indexOf('\0') < 0 ? piece.size() : piece.indexOf('\0'));
        qsizetype start = 0;
        while (start < piece.size() && static_cast<uint8_t>(piece[start]) <= 32)
            ++start;
        qsizetype stop = start;
        while (stop < piece.size() && static_cast<uint8_t>(piece[stop]) >= 32)
            ++stop;
        if (stop > start)
            names << piece.mid(start, stop - start);
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const ScratchFile scratch("list.txt");
    const QByteArray text = inputBytes(data, size);
    scratch.write(text);

    QFile list(scratch.path());
    FUZZ_CHECK(list.open(QIODevice::ReadOnly));
    QList<QByteArray> names;
    while (const std::optional<QByteArray> name = ReadListLine(list)) {
        FUZZ_CHECK(!name->isEmpty() && name->size() <= kPieceLength);
        FUZZ_CHECK(static_cast<uint8_t>(name->front()) > 32);
        for (const char byte : *name)
            FUZZ_CHECK(static_cast<uint8_t>(byte) >= 32);
        // Windows-1251 has one character per byte, and none below 32.
        const QString decoded = decodeListName(*name);
        FUZZ_CHECK(decoded.size() == name->size());
        for (const QChar character : decoded)
            FUZZ_CHECK(character.unicode() >= 32);
        names << *name;
        FUZZ_CHECK(names.size() <= text.size());
    }
    FUZZ_CHECK(list.atEnd());
    FUZZ_CHECK(names == namesByTheRule(text));
    return 0;
}
