#include "core/operation_error.h"
#include "image/build_image.h"
#include "image/image_reader.h"
#include "tests/image/image_fixture.h"

#include <QFile>

#include <functional>

class InspectImageTest : public ImageTest
{
protected:
    QString build()
    {
        const QString out = path("out.bkr");
        BuildImage(table, out);
        return out;
    }

    // Four recordings: a whole page, an empty one, one page and a byte, and
    // a file that ends 990 bytes early. 9504 bytes in all.
    void addMixedRecordings()
    {
        add("a.krd", {1056, 5, 0, 1, QByteArray(1056, '\x0A')});
        add("empty.krd", {0, 0, 0, 0, {}});
        add("звук b.krd", {1057, 70000, 0, 2, QByteArray(1057, '\x0B')});
        add("short.krd", {1000, 2000, 0, static_cast<int8_t>(0x80), QByteArray(10, '\x02')});
    }

    ImageInspection inspectChanged(const QByteArray &image)
    {
        return inspectImage(writeFile(path("changed.bkr"), image));
    }
};

TEST_F(InspectImageTest, AcceptsEveryImageBuildMakes)
{
    const ImageInspection empty = inspectImage(build());
    EXPECT_TRUE(empty.consistent()) << empty.fault->text.toStdString();
    EXPECT_EQ(empty.fileLength, 5280);
    EXPECT_TRUE(empty.catalogue.isEmpty());
    EXPECT_TRUE(empty.directory.empty());

    addMixedRecordings();
    const ImageInspection mixed = inspectImage(build());
    ASSERT_TRUE(mixed.consistent()) << mixed.fault->text.toStdString();
    EXPECT_EQ(mixed.fileLength, 9504);
    EXPECT_EQ(mixed.catalogue, (QStringList{"a.krd", "empty.krd", "звук b.krd", "short.krd"}));
    struct Entry {
        int32_t start, samples, type, pages;
    };
    const Entry expected[] = {{40, 5, 1, 1}, {48, 0, 0, 0}, {48, 70000, 2, 2}, {64, 2000, 0x80, 1}};
    ASSERT_EQ(mixed.directory.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const DirectoryEntry &entry = mixed.directory[i];
        EXPECT_EQ(entry.startAddress, expected[i].start) << i;
        EXPECT_EQ(entry.sampleCount, expected[i].samples) << i;
        EXPECT_EQ(entry.encodingType, expected[i].type) << i;
        EXPECT_EQ(entry.pages, expected[i].pages) << i;
    }

    // The fullest directory page.
    for (int row = 1; row <= 127; ++row)
        addRow(table, path("empty.krd"));
    const ImageInspection full = inspectImage(build());
    EXPECT_TRUE(full.consistent()) << full.fault->text.toStdString();
    EXPECT_EQ(full.directory.size(), 131u);
}

// What a device received: the image and the FF fill of the last packet.
TEST_F(InspectImageTest, AcceptsTheFillOfAnUploadsLastPacket)
{
    addMixedRecordings();
    QFile built(build());
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    const QByteArray image = built.readAll();
    const ImageInspection received = inspectChanged(image + QByteArray(1055, '\xFF'));
    EXPECT_TRUE(received.consistent()) << received.fault->text.toStdString();
    EXPECT_EQ(received.uploadFill, 1055);
    EXPECT_EQ(inspectImage(built.fileName()).uploadFill, 0);
}

TEST_F(InspectImageTest, RejectsAnyOneByteChangeInTheChecksumRegion)
{
    addMixedRecordings();
    const QByteArray image = contentsOf(build());
    // Every field of two entries, the end entry, the fills, the checksum,
    // and data and padding at the edges of each recording.
    for (const int offset : {4224, 4225, 4226, 4227, 4228, 4229, 4230, 4231, 4233, 4245, 4256, 4257,
                             4258, 4259, 4260, 4261, 5000, 5278, 5279, 5280, 6335, 6336, 7392, 7393,
                             8447, 8448, 8458, 9400, 9503}) {
        for (const int delta : {1, 0x80}) {
            QByteArray changed = image;
            changed[offset] = static_cast<char>(changed[offset] + delta);
            EXPECT_FALSE(inspectChanged(changed).consistent()) << "offset " << offset << " delta " << delta;
        }
    }
}

TEST_F(InspectImageTest, ReportsTheFirstFaultWithItsOffset)
{
    addMixedRecordings();
    const QByteArray image = contentsOf(build());
    struct Case {
        const char *change;
        std::function<void(QByteArray &)> apply;
        qint64 offset;
        const char *text;
    };
    const Case cases[] = {
        {"header mark", [](QByteArray &b) { b[0] = 0x07; }, 0, "страница заголовка: ожидался байт 06, записан 07"},
        {"line number", [](QByteArray &b) { b[1067] = '3'; }, 1067, "каталог, строка 2: ожидался байт 32, записан 33"},
        {"data byte", [](QByteArray &b) { b[6000] = 0x0B; }, 5279, "контрольная сумма не сходится: записан байт"},
        {"second start", [](QByteArray &b) { b[4232] = 0x2C; }, 4232, "запись 2 оглавления: начальный адрес 44 не следует"},
        {"zero fill", [](QByteArray &b) { b[4300] = 0x01; }, 4300, "заполнение после концевой записи: ожидался байт 00, записан 01"},
        {"cut short", [](QByteArray &b) { b.chop(1); }, 9503, "файл обрывается: по концевой записи в образе 9504 байт, а в файле 9503"},
        {"byte added", [](QByteArray &b) { b.append('\0'); }, 9504, "после конца образа (9504 байт по концевой записи) в файле еще 1 байт"},
        {"page of FF added", [](QByteArray &b) { b.append(1056, '\xFF'); }, 9504, "после конца образа (9504 байт по концевой записи) в файле еще 1056 байт"},
        {"fill ending in 00", [](QByteArray &b) { b.append(31, '\xFF').append('\0'); }, 9504, "после конца образа"},
        {"cut in the catalogue area", [](QByteArray &b) { b.truncate(3000); }, 3000, "файл обрывается"},
    };
    for (const Case &c : cases) {
        QByteArray changed = image;
        c.apply(changed);
        const ImageInspection result = inspectChanged(changed);
        ASSERT_FALSE(result.consistent()) << c.change;
        EXPECT_EQ(result.fault->offset, c.offset) << c.change;
        EXPECT_TRUE(result.fault->text.startsWith(QString::fromUtf8(c.text))) << c.change << ": "
                                                                             << result.fault->text.toStdString();
    }
}

TEST_F(InspectImageTest, MissingFileIsAnError)
{
    EXPECT_THROW(inspectImage(path("none.bkr")), OperationError);
}
