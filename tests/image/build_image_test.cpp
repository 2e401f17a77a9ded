#include "image/build_image.h"
#include "tests/image/image_fixture.h"

namespace {

QByteArray bytes(int count, char value)
{
    return QByteArray(count, value);
}

uint8_t byteAt(const QByteArray &image, int offset)
{
    return static_cast<uint8_t>(image[offset]);
}

uint8_t regionSum(const QByteArray &image)
{
    uint8_t sum = 0;
    for (qsizetype i = 4224; i < image.size(); ++i)
        sum = static_cast<uint8_t>(sum + byteAt(image, static_cast<int>(i)));
    return sum;
}

} // namespace

class BuildImageTest : public ImageTest
{
protected:
    QByteArray build()
    {
        const QString out = path("out.bkr");
        const qint64 length = BuildImage(table, out);
        const QByteArray image = contentsOf(out);
        EXPECT_EQ(length, image.size());
        return image;
    }
};

TEST_F(BuildImageTest, OneToneRecordingByteForByte)
{
    add("tone.krd", {1000, 2000, 0, 0, bytes(1000, '\x01')});

    QByteArray expected = QByteArray::fromHex("0600") + bytes(1054, '\xFF');
    expected += QByteArray::fromHex("20312E20746F6E652E6B72640A") + QByteArray(1, '\0');
    expected += bytes(4224 - 1070, '\xFF');
    expected += QByteArray::fromHex("2800 30F8FF 00 0000" "FFFF C0F7FF");
    expected += bytes(5279 - 4237, '\0') + QByteArray::fromHex("15");
    expected += bytes(1000, '\x01') + bytes(56, '\0');
    EXPECT_EQ(build(), expected);
}

TEST_F(BuildImageTest, EmptyTableIsFivePagesWithTheEndEntryAlone)
{
    const QByteArray image = build();
    ASSERT_EQ(image.size(), 5280);
    EXPECT_EQ(image.mid(1056, 2), QByteArray::fromHex("00FF"));
    EXPECT_EQ(image.mid(1057, 4224 - 1057), bytes(4224 - 1057, '\xFF'));
    EXPECT_EQ(image.mid(4224, 5), QByteArray::fromHex("FFFFE0FBFF"));
    EXPECT_EQ(image.mid(4229, 5279 - 4229), bytes(5279 - 4229, '\0'));
    EXPECT_EQ(byteAt(image, 5279), 0x28);
}

TEST_F(BuildImageTest, RecordingsTakeWholePagesAndEmptyOnesTakeNone)
{
    add("a.krd", filled(1056, '\x0A'));
    add("empty.krd", filled(0, 0));
    add("b.krd", filled(1057, '\x0B'));

    const QByteArray image = build();
    ASSERT_EQ(image.size(), 8448);
    EXPECT_EQ(image.mid(4224, 2), QByteArray::fromHex("2800"));
    EXPECT_EQ(image.mid(4232, 2), QByteArray::fromHex("3000")); // 0 bytes: no page, same start
    EXPECT_EQ(image.mid(4240, 2), QByteArray::fromHex("3000"));
    EXPECT_EQ(image.mid(4248, 5), QByteArray::fromHex("FFFF80EFFF"));
    EXPECT_EQ(image.mid(5280, 1056), bytes(1056, '\x0A'));
    EXPECT_EQ(image.mid(6336, 1057), bytes(1057, '\x0B'));
    EXPECT_EQ(image.mid(7393), bytes(8448 - 7393, '\0'));
    EXPECT_EQ(regionSum(image), 0);
}

TEST_F(BuildImageTest, CatalogueNumbersTakeTwoCharacters)
{
    for (int i = 1; i <= 10; ++i)
        add(QStringLiteral("r%1.krd").arg(i), filled(0, 0));
    const QByteArray image = build();
    EXPECT_TRUE(image.mid(1056).startsWith(" 1. r1.krd\n 2. r2.krd\n"));
    const qsizetype tenth = image.indexOf("10. r10.krd\n", 1056);
    EXPECT_EQ(image.mid(tenth - 11, 11), " 9. r9.krd\n");
    EXPECT_EQ(byteAt(image, static_cast<int>(tenth) + 12), 0x00);
}

TEST_F(BuildImageTest, CatalogueHoldsWindows1251Names)
{
    add("звук.krd", filled(0, 0));
    EXPECT_EQ(build().mid(1056, 14), QByteArray(" 1. \xE7\xE2\xF3\xEA.krd\n") + QByteArray(1, '\0'));
}

TEST_F(BuildImageTest, ShortRecordingFileReadsAsFFInDataAndChecksum)
{
    add("short.krd", {5000, 0, 0, 0, bytes(10, '\x02')});
    const QByteArray image = build();
    ASSERT_EQ(image.size(), 5280 + 5 * 1056);
    EXPECT_EQ(image.mid(5280, 10), bytes(10, '\x02'));
    EXPECT_EQ(image.mid(5290, 4990), bytes(4990, '\xFF'));
    EXPECT_EQ(image.mid(10280), bytes(280, '\0'));
    EXPECT_EQ(regionSum(image), 0);
}

// The table's columns may be stale: the files say what goes in, and every
// row goes in whether it is numbered or not.
TEST_F(BuildImageTest, HeadersComeFromTheFilesAndEveryRowIsBuilt)
{
    const QString first = add("first.krd", filled(10, '\x01'));
    add("second.krd", filled(10, '\x02'));
    table.setCell(2, ColEnabled, QStringLiteral("0"));
    writeRecording(first, {2000, 77, 0, 2, bytes(2000, '\x03')});

    const QByteArray image = build();
    ASSERT_EQ(image.size(), 5280 + 2 * 1056 + 1056);
    EXPECT_EQ(image.mid(4224, 8), QByteArray::fromHex("2800 B3FFFF 02 0000"));
    EXPECT_EQ(image.mid(4232, 2), QByteArray::fromHex("3800"));
    EXPECT_EQ(image.mid(5280 + 2 * 1056, 10), bytes(10, '\x02'));
}
