#include "core/operation_error.h"
#include "image/build_image.h"
#include "image/replacing_file.h"
#include "tests/image/image_fixture.h"

#include <QDir>

// Every refusal comes before the image file is touched: the old image stays
// as it was and nothing else appears beside it.
class ImageRefusalTest : public ImageTest
{
protected:
    QString image() const { return path("out.bkr"); }

    void expectRefused(const QString &message)
    {
        writeFile(image(), "old image");
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        try {
            BuildImage(table, image());
            ADD_FAILURE() << "built, expected: " << message.toStdString();
        } catch (const OperationError &error) {
            EXPECT_EQ(error.message(), message);
        }
        EXPECT_EQ(contentsOf(image()), "old image");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    }

    void expectBuilt() { EXPECT_NO_THROW(BuildImage(table, image())); }

    void clearTable()
    {
        table = RecordingTable();
        writeHeaderRow(table);
    }
};

TEST_F(ImageRefusalTest, HeaderFieldsOutsideWhatTheDirectoryHolds)
{
    struct Case {
        int32_t dataLength;
        int32_t sampleCount;
        const char *reason; // follows "Файл <path>"; empty: builds
    };
    for (const Case &c : {
             Case{0, 16777215, ""},
             Case{0, 16777216, ": число отсчетов 16777216 не помещается в образ (допустимо от 0 до 16777215)"},
             Case{0, -1, ": число отсчетов -1 не помещается в образ (допустимо от 0 до 16777215)"},
             Case{-1, 0, " - неверная длина данных: -1"},
             Case{INT32_MIN, 0, " - неверная длина данных: -2147483648"}}) {
        SCOPED_TRACE(c.reason);
        clearTable();
        // A name that looks like a placeholder must come out as it is.
        const QString file = add("r%2.krd", {c.dataLength, c.sampleCount, 0, 0, {}});
        if (*c.reason)
            expectRefused(QStringLiteral("Файл ") + file + QString::fromUtf8(c.reason));
        else
            expectBuilt();
    }
}

TEST_F(ImageRefusalTest, StartAddressesStayBelow65536)
{
    // 8186 pages leave the second recording at 65528, 8187 at 65536. The
    // files hold no data: the lengths come from their headers.
    add("a.krd", {8186 * 1056, 0, 0, 0, {}});
    add("b%3.krd", {1, 0, 0, 0, {}});
    expectBuilt();
    EXPECT_EQ(contentsOf(image()).mid(4232, 2), QByteArray::fromHex("F8FF"));

    writeRecording(path("a.krd"), {8187 * 1056, 0, 0, 0, {}});
    expectRefused(QStringLiteral("Запись 2 (b%3.krd) не помещается в образ: ее начальный адрес 65536 больше 65535"));
}

TEST_F(ImageRefusalTest, ChecksumRegionStaysBelow2To24Bytes)
{
    add("long.krd", {15887 * 1056, 0, 0, 0, {}});
    expectRefused(QStringLiteral("Записи не помещаются в образ: область контрольной суммы заняла бы "
                                 "16777728 байт, а допустимо не больше 16777215"));
}

TEST_F(ImageRefusalTest, CatalogueWithItsZeroFitsPagesOneToThree)
{
    // " 1. " + 27 characters + LF: 99 such lines and the zero take 3169 bytes.
    const auto name = [](int row, int length) {
        return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')).leftJustified(length - 4, 'x') + ".krd";
    };
    for (int row = 1; row <= 99; ++row)
        add(name(row, row < 99 ? 27 : 26), {});
    expectBuilt();
    const QByteArray built = contentsOf(image());
    EXPECT_EQ(built.mid(4222, 4), QByteArray::fromHex("0A002800"));

    clearTable();
    for (int row = 1; row <= 99; ++row)
        add(name(row, 27), {});
    expectRefused(QStringLiteral("Имена файлов не помещаются в каталог образа: нужно 3169 байт, а в нем 3168. "
                                 "Сократите имена файлов."));
}

TEST_F(ImageRefusalTest, DirectoryPageHoldsAtMost131Entries)
{
    const QString file = writeRecording(path("r.krd"), {});
    for (int row = 1; row <= 131; ++row)
        addRow(table, file);
    expectBuilt();
    EXPECT_EQ(contentsOf(image()).mid(4224 + 131 * 8, 2), QByteArray::fromHex("FFFF"));

    addRow(table, file);
    expectRefused(QStringLiteral("Записей в таблице 132, а образ вмещает не больше 131"));
}

TEST_F(ImageRefusalTest, RecordingFilesGoneOrCutAfterTheyWereAdded)
{
    const QString gone = add("gone.krd", {});
    QFile::remove(gone);
    expectRefused(QStringLiteral("Файл %1 не найден").arg(gone));

    clearTable();
    const QString folder = add("folder.krd", {});
    QFile::remove(folder);
    QDir(dir.path()).mkdir("folder.krd");
    expectRefused(QStringLiteral("Файл %1 не найден").arg(folder));

    clearTable();
    const QString cut = add("cut.krd", {});
    writeFile(cut, recordingBytes({}).left(511));
    expectRefused(QStringLiteral("Файл %1 - неверный формат").arg(cut));
}

TEST_F(ImageRefusalTest, NamesTheCatalogueCannotHold)
{
    add("录音.krd", {});
    expectRefused(QStringLiteral("Имя файла 录音.krd нельзя записать в каталог образа: "
                                 "в кодировке Windows-1251 нет его знаков"));

    clearTable();
    add("two\nlines.krd", {});
    expectRefused(QStringLiteral("Имя файла two\nlines.krd нельзя записать в каталог образа: "
                                 "в нем есть управляющие знаки"));
}

TEST_F(ImageRefusalTest, ImageInAMissingFolder)
{
    add("r.krd", {});
    const QString target = path("missing/out.bkr");
    try {
        BuildImage(table, target);
        ADD_FAILURE() << "built";
    } catch (const OperationError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Не удалось создать файл образа %1: ").arg(target)))
            << error.message().toStdString();
    }
}

TEST_F(ImageRefusalTest, ReplacingFileTouchesTheTargetOnlyOnCommit)
{
    writeFile(image(), "old image");
    QFile::setPermissions(image(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    {
        ReplacingFile abandoned(image());
        abandoned.write("half");
    }
    EXPECT_EQ(contentsOf(image()), "old image");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.bkr"});

    ReplacingFile replacing(image());
    replacing.write("new image");
    replacing.commit();
    EXPECT_EQ(contentsOf(image()), "new image");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.bkr"});
    const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                        | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                        | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(image()) & modeBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}
