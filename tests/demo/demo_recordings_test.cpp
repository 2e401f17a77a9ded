// The demo recordings as the program reads them: headers that describe their
// data, and sound that decodes back to what was meant.
#include "audio/wav_image.h"
#include "table/list_file.h"
#include "table/recording_file.h"
#include "tools/demo/demo_set.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// Root-mean-square of the source, and of its difference from the decoded preview.
struct Loudness {
    double signal = 0;
    double error = 0;
};

Loudness compared(const std::vector<int16_t> &source, const QByteArray &wav)
{
    Loudness sums;
    for (size_t i = 0; i < source.size(); ++i) {
        const int16_t decoded =
            qFromLittleEndian<int16_t>(wav.constData() + kWavHeaderSize + 2 * qsizetype(i));
        sums.signal += std::pow(source[i], 2);
        sums.error += std::pow(decoded - source[i], 2);
    }
    const auto count = double(source.size());
    return {std::sqrt(sums.signal / count), std::sqrt(sums.error / count)};
}

} // namespace

TEST(DemoRecordings, HeadersDescribeTheirDataAndTheSoundDecodesBack)
{
    QTemporaryDir dir;
    const QStringList paths = writeDemoRecordings(dir.filePath(QStringLiteral("demo")));
    const std::vector<DemoRecording> recordings = demoRecordings();
    ASSERT_EQ(paths.size(), qsizetype(recordings.size()));

    std::set<int> types;
    for (size_t i = 0; i < recordings.size(); ++i) {
        const DemoRecording &recording = recordings[i];
        SCOPED_TRACE(recording.fileName.toStdString());
        const RecordingFile file = readRecordingFile(paths[qsizetype(i)]);
        ASSERT_EQ(file.check, RecordingCheck::Valid);
        const RecordingHeader &header = file.header;
        const auto samples = int32_t(recording.signal.size());
        const int bytesPerSample[] = {0, 1, 2};
        const int type = int(recording.encoding);
        EXPECT_EQ(header.encodingType, type);
        EXPECT_EQ(header.sampleCount, samples);
        EXPECT_EQ(header.dataLength, type == 0 ? (samples + 1) / 2 : samples * bytesPerSample[type]);
        EXPECT_EQ(header.dataLength, QFileInfo(paths[qsizetype(i)]).size() - RecordingHeader::kSize);
        EXPECT_NEAR(header.durationMs, samples / 22.05, 0.5);
        types.insert(type);

        // PCM 16 is exact, PCM 8 loses the low byte, ADPCM trails the fast sweep a little.
        const double allowed[] = {600, 80, 0};
        const Loudness loudness = compared(recording.signal, readPreviewImage(paths[qsizetype(i)]));
        EXPECT_GT(loudness.signal, 5000);
        EXPECT_LE(loudness.error, allowed[type]);
    }
    EXPECT_EQ(types, (std::set<int>{0, 1, 2}));
}

TEST(DemoRecordings, TheListBesideThemNamesThemAll)
{
    QTemporaryDir dir;
    const QStringList paths = writeDemoRecordings(dir.path());
    QFile list(QDir(dir.path()).filePath(QLatin1String(kDemoListName)));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QStringList listed;
    while (const std::optional<QByteArray> name = ReadListLine(list))
        listed << resolveListName(decodeListName(*name), dir.path());
    EXPECT_EQ(listed, paths);
}

TEST(DemoRecordings, AnUnwritableFolderIsReported)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("taken"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_THROW(writeDemoRecordings(file + QStringLiteral("/demo")), std::runtime_error);
}
