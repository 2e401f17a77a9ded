#include "core/operation_error.h"
#include "table/list_file.h"
#include "tests/support/recording_files.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QList<QByteArray> namesIn(QByteArray text)
{
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    QList<QByteArray> names;
    while (std::optional<QByteArray> name = ReadListLine(buffer))
        names << *name;
    return names;
}

} // namespace

TEST(ReadListLine, SkipsBlankLinesAndLeadingBlanksKeepsInnerAndTrailingOnes)
{
    EXPECT_EQ(namesIn("a.krd\r\n\r\n   \r\n\t b.krd\nc.krd"),
              (QList<QByteArray>{"a.krd", "b.krd", "c.krd"}));
    EXPECT_EQ(namesIn("  my tone.krd  \r\n"), (QList<QByteArray>{"my tone.krd  "}));
    EXPECT_EQ(namesIn("tone.krd\tcomment\r\n"), (QList<QByteArray>{"tone.krd"}));
    EXPECT_EQ(namesIn(""), QList<QByteArray>{});
}

TEST(ReadListLine, CyrillicBytesAreOrdinaryAndAZeroByteEndsTheLine)
{
    EXPECT_EQ(namesIn("\xE7\xE2\xF3\xEA.krd\r\n"), (QList<QByteArray>{"\xE7\xE2\xF3\xEA.krd"}));
    EXPECT_EQ(namesIn(QByteArray("a\0hidden\nb\n", 11)), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(namesIn(QByteArray("\0x\nb\n", 5)), (QList<QByteArray>{"b"}));
}

TEST(ReadListLine, LongLinesComeInPiecesOf1022)
{
    const QByteArray longName(1500, 'n');
    const QList<QByteArray> names = namesIn(longName + "\r\nlast\r\n");
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[0], longName.left(1022));
    EXPECT_EQ(names[1], longName.mid(1022));
    EXPECT_EQ(names[2], "last");
}

TEST(ReadListLine, AReadErrorIsReported)
{
    QFile unreadable(QStringLiteral("/proc/self/mem"));
    ASSERT_TRUE(unreadable.open(QIODevice::ReadOnly));
    EXPECT_THROW(ReadListLine(unreadable), OperationError);
}

TEST(ListFileNames, DecodeAndResolve)
{
    EXPECT_EQ(decodeListName("\xE7\xE2\xF3\xEA.krd"), "звук.krd");
    EXPECT_EQ(resolveListName("a.krd", "/lists"), "/lists/a.krd");
    EXPECT_EQ(resolveListName("sub/a.krd", "/lists"), "/lists/sub/a.krd");
    EXPECT_EQ(resolveListName("/abs/a.krd", "/lists"), "/abs/a.krd");
}

TEST(WriteList, Windows1251WithCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    writeList(path, {"звук.krd", "b c.krd"});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\xE7\xE2\xF3\xEA.krd\r\nb c.krd\r\n");
}

TEST(WriteList, ANameWindows1251CannotHoldLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("list.txt"), "old\r\n");
    try {
        writeList(path, {"a.krd", "音.krd"});
        FAIL() << "no error";
    } catch (const OperationError &error) {
        EXPECT_TRUE(error.message().contains("音.krd"));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old\r\n");
}

TEST(WriteList, AFolderThatCannotTakeTheFileIsAnError)
{
    EXPECT_THROW(writeList("/proc/no-such-dir/list.txt", {"a.krd"}), OperationError);
}
