#include "core/operation_error.h"
#include "table/recording_file.h"
#include "tests/support/recording_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SecondsText, ThreeSignificantDigitsAndOneDecimal)
{
    struct Case {
        int32_t ms;
        const char *text;
    };
    for (const Case &c : {
             Case{0, "0.0"}, Case{40, "0.0"}, Case{50, "0.1"}, Case{250, "0.3"},
             Case{2500, "2.5"}, Case{12345, "12.3"}, Case{99950, "100.0"},
             Case{123456, "123.0"}, Case{999499, "999.0"}, Case{999500, "1E3"},
             Case{1234567, "1.23E3"}, Case{2000000, "2E3"}, Case{2100000, "2.1E3"},
             Case{-2500, "-2.5"}, Case{-1234567, "-1.23E3"}, Case{-40, "0.0"},
             Case{2147483647, "2.15E6"}, Case{INT32_MIN, "-2.15E6"}})
        EXPECT_EQ(secondsText(c.ms, QLatin1Char('.')), QLatin1String(c.text)) << c.ms;
}

TEST(SecondsText, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(secondsText(2500, QLatin1Char(',')), "2,5");
    EXPECT_EQ(secondsText(1234567, QLatin1Char(',')), "1,23E3");
}

TEST(RecordingHeader, FieldsAreLittleEndianAndTheTypeIsSigned)
{
    const QByteArray bytes = recordingBytes({10000, 20000, 2500, static_cast<int8_t>(0x80), {}});
    const RecordingHeader header = RecordingHeader::parse(bytes.constData());
    EXPECT_TRUE(header.hasMagic());
    EXPECT_EQ(header.dataLength, 10000);
    EXPECT_EQ(header.sampleCount, 20000);
    EXPECT_EQ(header.durationMs, 2500);
    EXPECT_EQ(header.encodingType, -128);
}

class RecordingFileTest : public testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(RecordingFileTest, ChecksExistenceLengthAndMagic)
{
    writeRecording(path("good.krd"), {100, 200, 300, 1, QByteArray(100, 'x')});
    RecordingFields lowerCase;
    lowerCase.magic = "krod";
    writeRecording(path("lower.krd"), lowerCase);
    writeFile(path("short.krd"), recordingBytes({}).left(511));
    QDir(dir.path()).mkdir("folder.krd");

    const RecordingFile good = readRecordingFile(path("good.krd"));
    EXPECT_EQ(good.check, RecordingCheck::Valid);
    EXPECT_EQ(good.header.dataLength, 100);
    EXPECT_EQ(readRecordingFile(path("lower.krd")).check, RecordingCheck::WrongFormat);
    EXPECT_EQ(readRecordingFile(path("short.krd")).check, RecordingCheck::WrongFormat);
    EXPECT_EQ(readRecordingFile(path("none.krd")).check, RecordingCheck::Missing);
    EXPECT_EQ(readRecordingFile(path("folder.krd")).check, RecordingCheck::Missing);
}

TEST_F(RecordingFileTest, AFileThatCannotBeReadIsAnErrorNamingIt)
{
    // Exists and opens, but every read fails.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    try {
        readRecordingFile(unreadable);
        FAIL() << "no error";
    } catch (const OperationError &error) {
        EXPECT_TRUE(error.message().contains(unreadable)) << error.message().toStdString();
    }
}

TEST_F(RecordingFileTest, AppendedRowHoldsTheHeaderAsText)
{
    RecordingTable table;
    RecordingHeader header;
    header.dataLength = 10000;
    header.durationMs = 2500;
    header.encodingType = 0;
    appendRecordingRow(table, QStringLiteral("/data/звуки/tone.krd"), header);

    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cell(1, ColFileName), "tone.krd");
    EXPECT_EQ(table.cell(1, ColSeconds), secondsText(2500, QLocale().decimalPoint().front()));
    EXPECT_EQ(table.cell(1, ColSize), "10000");
    EXPECT_EQ(table.cell(1, ColSizeCopy), "10000");
    EXPECT_EQ(table.cell(1, ColPath), "/data/звуки/tone.krd");
    EXPECT_EQ(table.cell(1, ColTypeNumber), "0");
    EXPECT_EQ(table.cell(1, ColEnabled), "1");
    EXPECT_EQ(fileNameOf(QStringLiteral("bare.krd")), "bare.krd");
}

TEST(RecordingWarning, NamesThePathAsGiven)
{
    EXPECT_EQ(recordingWarning("a/b.krd", RecordingCheck::Missing), "Файл a/b.krd не найден");
    EXPECT_EQ(recordingWarning("a/b.krd", RecordingCheck::WrongFormat),
              "Файл a/b.krd - неверный формат");
}
