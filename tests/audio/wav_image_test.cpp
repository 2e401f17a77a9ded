#include "audio/wav_image.h"
#include "core/operation_error.h"
#include "tests/support/recording_files.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

std::vector<int16_t> samplesOf(const QByteArray &image)
{
    std::vector<int16_t> samples;
    for (qsizetype offset = kWavHeaderSize; offset + 1 < image.size(); offset += 2)
        samples.push_back(qFromLittleEndian<int16_t>(image.constData() + offset));
    return samples;
}

QByteArray littleEndian(const std::vector<int16_t> &samples)
{
    QByteArray bytes(static_cast<qsizetype>(2 * samples.size()), '\0');
    for (size_t i = 0; i < samples.size(); ++i)
        qToLittleEndian(samples[i], bytes.data() + 2 * i);
    return bytes;
}

RecordingFields recording(int32_t sampleCount, int8_t type, QByteArray data)
{
    RecordingFields fields;
    fields.dataLength = static_cast<int32_t>(data.size());
    fields.sampleCount = sampleCount;
    fields.type = type;
    fields.data = std::move(data);
    return fields;
}

} // namespace

class PreviewImageTest : public testing::Test
{
protected:
    QString write(const RecordingFields &fields, const QString &name = QStringLiteral("rec.krd"))
    {
        return writeRecording(dir.filePath(name), fields);
    }

    QTemporaryDir dir;
};

TEST_F(PreviewImageTest, HeaderDescribes16BitMonoAt22050)
{
    const QByteArray image = readPreviewImage(write(recording(3, 0, "\x77\x77")));
    const QByteArray expected("RIFF\x2A\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0data\x06\0\0\0",
                              kWavHeaderSize);
    ASSERT_EQ(image.size(), 50);
    EXPECT_EQ(image.left(kWavHeaderSize).toHex(' '), expected.toHex(' '));
}

TEST_F(PreviewImageTest, SamplesByEncodingType)
{
    struct Case {
        const char *what;
        RecordingFields fields;
        std::vector<int16_t> samples;
    };
    const std::vector<int16_t> pcm16{1, -2, 32767, -32768};
    for (const Case &c : {
             Case{"ADPCM, odd count: the last low nibble is left out",
                  recording(3, 0, "\x77\x77"), {11, 41, 104}},
             Case{"ADPCM, one sample", recording(1, 0, "\x7F"), {11}},
             Case{"PCM 8: the byte is the high byte, no offset removed",
                  recording(4, 1, QByteArray("\x00\x7F\x80\xFF", 4)), {0, 32512, -32768, -256}},
             Case{"PCM 16: copied", recording(4, 2, littleEndian(pcm16)), pcm16},
             Case{"no samples", recording(0, 0, "\x77"), {}},
             Case{"unknown type: silence", recording(3, 3, "\x77\x77\x77\x77\x77\x77"), {0, 0, 0}},
             Case{"negative type: silence", recording(2, -1, "\x77\x77\x77\x77"), {0, 0}},
             Case{"short ADPCM: silence past the data", recording(5, 0, "\x77"), {11, 41, 0, 0, 0}},
             Case{"short PCM 8", recording(3, 1, "\x7F"), {32512, 0, 0}},
             Case{"short PCM 16, half a sample", recording(2, 2, "\x01\x02\x03"), {0x0201, 0x0003}},
             Case{"bytes after the data are ignored", recording(1, 1, "\x01\x02"), {256}},
         }) {
        const QByteArray image = readPreviewImage(write(c.fields));
        EXPECT_EQ(image.size(), kWavHeaderSize + 2 * qsizetype(c.samples.size())) << c.what;
        EXPECT_EQ(qFromLittleEndian<uint32_t>(image.constData() + 4), 36 + 2 * c.samples.size()) << c.what;
        EXPECT_EQ(qFromLittleEndian<uint32_t>(image.constData() + 40), 2 * c.samples.size()) << c.what;
        EXPECT_EQ(samplesOf(image), c.samples) << c.what;
    }
}

TEST_F(PreviewImageTest, BrokenFilesAreRefusedWithTheirName)
{
    const auto refusal = [](const QString &path, int32_t count) {
        return QStringLiteral("Файл %1 - неверное число отсчетов: %2 (допустимо от 0 до 79380000, один час звука)")
            .arg(path)
            .arg(count);
    };
    const QString missing = dir.filePath(QStringLiteral("gone.krd"));
    const QString shortHeader = writeFile(dir.filePath(QStringLiteral("short.krd")), QByteArray(511, '\0'));
    const QString negative = write(recording(-1, 0, {}), QStringLiteral("negative.krd"));
    const QString overAnHour = write(recording(kMaxPreviewSamples + 1, 0, {}), QStringLiteral("long.krd"));
    const QString huge = write(recording(INT_MAX, 2, {}), QStringLiteral("huge.krd"));
    struct Case {
        QString path;
        QString message;
    };
    for (const Case &c : {
             Case{missing, QStringLiteral("Файл %1 не найден").arg(missing)},
             Case{shortHeader, QStringLiteral("Файл %1 - неверный формат").arg(shortHeader)},
             Case{negative, refusal(negative, -1)},
             Case{overAnHour, refusal(overAnHour, kMaxPreviewSamples + 1)},
             Case{huge, refusal(huge, INT_MAX)},
         }) {
        try {
            readPreviewImage(c.path);
            ADD_FAILURE() << "accepted " << c.path.toStdString();
        } catch (const OperationError &error) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
}
