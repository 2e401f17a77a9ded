// soundloader-cli decode and info, run as the user runs them.
#include "audio/wav_image.h"
#include "tests/support/cli_run.h"
#include "tests/support/recording_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CliAudioTest : public testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(CliAudioTest, DecodeWritesThePreviewImage)
{
    const QString recording = writeRecording(path("tone.krd"), {2, 3, 100, 0, "\x77\x77"});
    const CliRun run = runCli({"decode", recording, path("tone.wav")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(contentsOf(path("tone.wav")), readPreviewImage(recording));
}

TEST_F(CliAudioTest, DecodeRefusalLeavesEveryFileAsItWas)
{
    const QString refused = writeRecording(path("refused.krd"), {0, -1, 100, 0, {}});
    const QString good = writeRecording(path("good.krd"), {2, 3, 100, 0, "\x77\x77"});
    const QString output = writeFile(path("out.wav"), "keep me");
    const QByteArray goodBytes = contentsOf(good);

    CliRun run = runCli({"decode", refused, output});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("неверное число отсчетов"))) << run.err.toStdString();
    EXPECT_EQ(contentsOf(output), "keep me");

    run = runCli({"decode", good, good});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_EQ(contentsOf(good), goodBytes);

    EXPECT_EQ(runCli({"decode", good}).status, 2);
}

TEST_F(CliAudioTest, InfoShowsTheTableRowOrTheWindowsWarning)
{
    const QString adpcm = writeRecording(path("a.krd"), {10000, 20000, 2500, 0, {}});
    const QString pcm16 = writeRecording(path("b.krd"), {44100, 22050, 1000, 2, {}});
    const QString unknown = writeRecording(path("c.krd"), {7, 7, 0, 9, {}});
    RecordingFields lowerCase;
    lowerCase.magic = "krod";
    const QString wrong = writeRecording(path("wrong.krd"), lowerCase);
    const QString missing = path("missing.krd");

    const CliRun run = runCli({"info", adpcm, wrong, pcm16, missing, unknown});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QStringLiteral("Имя файла\tСекунды\tРазмер\tТип\tОтсчетов\n"
                                      "a.krd\t2.5\t10000\tАДИКМ\t20000\n"
                                      "b.krd\t1.0\t44100\tИКМ 16\t22050\n"
                                      "c.krd\t0.0\t7\tнеизвестный (9)\t7\n"));
    EXPECT_EQ(run.err, QStringLiteral("Файл %1 - неверный формат\nФайл %2 не найден\n").arg(wrong, missing));

    EXPECT_EQ(runCli({"info", adpcm}).status, 0);
}
