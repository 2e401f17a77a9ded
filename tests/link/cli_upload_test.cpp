#include "tests/link/upload_device.h"
#include "tests/support/cli_run.h"
#include "tests/support/recording_files.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CliUploadTest : public testing::Test
{
protected:
    QString file(const QString &name, const QByteArray &bytes) { return writeFile(dir.filePath(name), bytes); }

    // Several uploads at once: the watchdog's failures take seconds each.
    static std::vector<CliRun> runTogether(const std::vector<QStringList> &runs)
    {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList &args : runs) {
            processes.push_back(std::make_unique<QProcess>());
            processes.back()->start(cliProgram(), args);
        }
        std::vector<CliRun> results;
        for (const auto &process : processes) {
            const bool ended = process->waitForFinished(60000);
            results.push_back({ended && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                               QString::fromUtf8(process->readAllStandardOutput()),
                               QString::fromUtf8(process->readAllStandardError())});
        }
        return results;
    }

    QTemporaryDir dir;
};

QStringList percentLines(const QString &out)
{
    return out.split('\n', Qt::SkipEmptyParts).filter(QStringLiteral("Залито "));
}

} // namespace

// The 32-record device is found by the automatic search at 115200; every
// fourth packet gets a NAK; the image runs past the 8-bit block number.
TEST_F(CliUploadTest, UploadsAReadyImageToTheRecognisedDeviceTwice)
{
    UploadDevice device(DeviceModel::Records32, {"--baud", "115200", "--nak-every", "4"});
    ASSERT_FALSE(device.path().isEmpty());
    const QByteArray image = imageBytes(300 * 128 + 1);
    const CliRun first = runCli({"upload", "--port", device.portName(), "--timeout", "30", file("a.bkr", image)});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.endsWith("Залито 100 %\nЗаливка завершена\n")) << first.out.toStdString();
    const QStringList percents = percentLines(first.out);
    EXPECT_EQ(percents.first(), "Залито 0 %");
    EXPECT_EQ(percents.size(), 101);
    EXPECT_TRUE(first.err.contains("115200 бод: устройство подключено"));

    const QByteArray second = imageBytes(1000).toLower();
    const CliRun again =
        runCli({"upload", "--port", device.path(), "--model", "32", "--timeout", "30", file("b.bkr", second)});
    EXPECT_EQ(again.status, 0) << again.err.toStdString();
    device.stop();
    EXPECT_EQ(device.received(), paddedToBlocks(second, 128));
    const QJsonObject report = device.report();
    EXPECT_EQ(report["uploads"].toInt(), 2);
    EXPECT_GT(report["naks"].toInt(), 0);
}

TEST_F(CliUploadTest, BuildsTheImageForTheRecognisedModelAndUploadsIt)
{
    const QString a = writeRecording(dir.filePath("a.krd"), {3000, 6000, 0, 0, imageBytes(3000)});
    const QString b = writeRecording(dir.filePath("b.krd"), {100, 200, 0, 1, imageBytes(100)});
    file("set.pls", "b.krd\r\n");
    ASSERT_EQ(runCli({"build", "--model", "99", dir.filePath("built.bkr"), a, b}).status, 0);

    UploadDevice device(DeviceModel::Records99);
    ASSERT_FALSE(device.path().isEmpty());
    const CliRun run = runCli({"upload", "--port", device.portName(), "--timeout", "30", "--build", a, "--list",
                               dir.filePath("set.pls")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("Заливка завершена\n"));
    device.stop();
    QFile built(dir.filePath("built.bkr"));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    EXPECT_EQ(device.received(), paddedToBlocks(built.readAll(), 1056));
}

TEST_F(CliUploadTest, EndsAsTheWindowDoesWithTheSameTexts)
{
    UploadDevice silentShort(DeviceModel::Records32, {"--silent-after", "0"});
    UploadDevice silentPages(DeviceModel::Records99, {"--silent-after", "0"});
    UploadDevice lostAck(DeviceModel::Records32, {"--drop-ack", "3"});
    UploadDevice cancelling(DeviceModel::Records99, {"--can-at", "2"});
    UploadDevice empty(DeviceModel::Records99);
    const QString image = file("a.bkr", imageBytes(5000));
    const QString nothing = file("empty.bkr", {});
    const auto upload = [](const UploadDevice &device, const QString &model, const QString &path) {
        return QStringList{"upload", "--port", device.path(), "--model", model, "--timeout", "30", path};
    };
    const std::vector<CliRun> runs = runTogether({
        upload(silentShort, "32", image),
        upload(silentPages, "99", image),
        upload(lostAck, "32", image),
        upload(cancelling, "99", image),
        upload(empty, "99", nothing),
    });
    const struct {
        int status;
        QString told;
    } expected[] = {
        {1, "Устройство выключено или выбран другой порт\n"},
        {1, "Сбой передачи\n"},
        {1, "Сбой передачи\n"},
        {1, "Заливка завершилась неудачей\n"},
        {0, "Заливка завершена\n"},
    };
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].status, expected[i].status) << i << runs[i].err.toStdString();
        EXPECT_TRUE((expected[i].status == 0 ? runs[i].out : runs[i].err).endsWith(expected[i].told))
            << i << runs[i].out.toStdString() << runs[i].err.toStdString();
    }
    EXPECT_EQ(percentLines(runs[0].out), QStringList());
    EXPECT_EQ(percentLines(runs[1].out), QStringList{"Залито 21 %"});
    EXPECT_EQ(percentLines(runs[4].out), QStringList());
}

TEST_F(CliUploadTest, RefusesWithTheReason)
{
    UploadDevice silent(DeviceModel::Records32, {"--silent"});
    ASSERT_FALSE(silent.path().isEmpty());
    const QString image = file("a.bkr", imageBytes(100));
    QStringList tooMany{"upload", "--port", silent.path(), "--no-detect", "--model", "32", "--build"};
    for (int i = 0; i < 33; ++i)
        tooMany << writeRecording(dir.filePath(QStringLiteral("r%1.krd").arg(i)), {10, 20, 0, 0, QByteArray(10, 'x')});
    const struct {
        QStringList args;
        int status;
        QString told;
    } cases[] = {
        {{"upload", "--port", silent.path(), "--timeout", "1", image}, 1,
         "Устройство не готово: на порту " + silent.path() + " устройство не опознано за 1 с\n"},
        {{"upload", "--port", silent.path(), "--no-detect", "--model", "32", dir.filePath("none.bkr")}, 1,
         "Не удалось открыть файл " + dir.filePath("none.bkr")},
        {tooMany, 1, "Превышено допустимое количество голосов\n"},
        {{"upload", "--port", "ttyGone", image}, 1, "/dev/ttyGone не найден"},
        {{"upload", image}, 2, "Не указан порт"},
        {{"upload", "--port", silent.path(), "--no-detect", image}, 2, "модель указывается явно"},
        {{"upload", "--port", silent.path(), image, image}, 2, "Укажите один файл образа"},
        {{"upload", "--port", silent.path(), "--list", "a.pls", image}, 2, "после --build"},
        {{"upload", "--port", silent.path(), "--model", "42", image}, 2, "Неверное значение --model: 42"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.told)) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    silent.stop();
    EXPECT_EQ(silent.report()["uploads"].toInt(), 0);
}
