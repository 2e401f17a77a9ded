#include "app/port_selector.h"
#include "tests/link/upload_device.h"
#include "tests/support/recording_files.h"
#include "tests/support/window_fixture.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <ctime>

namespace {

using Icon = Prompts::Icon;

const Prompts::Message kConfirmation{"Подтвердите заливку", "Ожидание", Icon::Information,
                                     Prompts::Buttons::OkCancel, Prompts::Answer::Cancel};
const Prompts::Message kCompleted{"Заливка завершена", "Сообщение", Icon::Information};
const Prompts::Message kCancelled{"Заливка завершилась неудачей", "Ошибка", Icon::Error};
const Prompts::Message kNotReady{"Устройство не готово", "Ошибка", Icon::Error};

int blockSizeOf(DeviceModel model)
{
    return fixedProfile(model).blockSize;
}

class UploadWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        // "Записать" builds its image in the temporary folder: this test's own.
        earlierTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(files.path()));
        WindowTest::SetUp();
        QObject::connect(window->progressb1, &QProgressBar::valueChanged, window.get(),
                         [this](int value) { barValues.push_back(value); });
    }

    void TearDown() override { qputenv("TMPDIR", earlierTemp); }

    void connectTo(const UploadDevice &device, DeviceModel model)
    {
        ASSERT_FALSE(device.path().isEmpty());
        ASSERT_TRUE(connectWindowTo(*window, model, device.portName()));
    }

    QString imageFile(const QByteArray &bytes)
    {
        return writeFile(files.filePath(QStringLiteral("image%1.bkr").arg(++images)), bytes);
    }

    // "Залить образ" with path chosen and the confirmation answered OK. The
    // watchdog, armed with the presence poll off, is then ticked by hand.
    void uploadImage(const QString &path)
    {
        prompts.choices.push_back({path});
        window->B_binClick();
        EXPECT_TRUE(window->Timer1->isActive());
        EXPECT_FALSE(window->Timer2->isActive());
        window->Timer1->stop();
    }

    // Ticks to the start step and waits for the end, which turns the
    // presence poll back on.
    void runToTheEnd()
    {
        window->Timer1Timer();
        window->Timer1Timer();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->Timer2->isActive(); }, 60000));
        EXPECT_FALSE(window->Timer1->isActive());
    }

    // Ticks to the start step and waits for the first packets to go out.
    void tickUntilUnderWay()
    {
        window->Timer1Timer();
        window->Timer1Timer();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->progressb1->value() > 0; }, 10000));
    }

    void expectIdleAfterTheUpload()
    {
        EXPECT_FALSE(window->StaticT1->isVisibleTo(window.get()));
        EXPECT_FALSE(window->StaticT2->isVisibleTo(window.get()));
        EXPECT_FALSE(window->ST_wait->isVisibleTo(window.get()));
        EXPECT_TRUE(window->LoadBinBtn->isEnabled());
        EXPECT_TRUE(window->ComSelect->isEnabled());
        EXPECT_EQ(window->progressb1->value(), 0);
        EXPECT_TRUE(window->Timer2->isActive());
    }

    // The bar's positions an upload of length bytes goes through: once per
    // packet, then back to 0.
    static std::vector<int> packetSteps(qsizetype length, int blockSize)
    {
        std::vector<int> steps;
        for (qsizetype sent = blockSize; sent < length + blockSize; sent += blockSize)
            steps.push_back(int(std::min(sent, length)));
        steps.push_back(0);
        return steps;
    }

    QTemporaryDir files;
    QByteArray earlierTemp;
    int images = 0;
    std::vector<int> barValues;
};

struct ModelCase {
    DeviceModel model;
    qsizetype imageSize;
};

class UploadWindowModelTest : public UploadWindowTest, public testing::WithParamInterface<ModelCase>
{
};

} // namespace

// Every third packet gets a NAK; the 32-record image runs past the 8-bit
// block number, which the device checks.
TEST_P(UploadWindowModelTest, TheImageArrivesWholeThroughNaksAndASecondUploadFollowsAtOnce)
{
    const DeviceModel model = GetParam().model;
    const int block = blockSizeOf(model);
    UploadDevice device(model, {"--nak-every", "3"});
    connectTo(device, model);
    const QByteArray image = imageBytes(GetParam().imageSize);

    uploadImage(imageFile(image));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], kConfirmation);
    EXPECT_EQ(prompts.dialogs.back().filter, "*.bin; *.bkr (*.bin *.bkr)");
    EXPECT_TRUE(window->StaticT1->isVisibleTo(window.get()));
    EXPECT_TRUE(window->StaticT2->isVisibleTo(window.get()));
    EXPECT_EQ(window->StaticT2->text(), "Заливка");
    EXPECT_TRUE(window->ST_wait->isVisibleTo(window.get()));
    EXPECT_EQ(window->ST_wait->text(), "7");
    EXPECT_FALSE(window->LoadBinBtn->isEnabled());
    EXPECT_FALSE(window->ComSelect->isEnabled());
    EXPECT_EQ(window->progressb1->maximum(), image.size());

    runToTheEnd();
    EXPECT_EQ(prompts.messages.back(), kCompleted);
    expectIdleAfterTheUpload();
    EXPECT_EQ(window->Connection->text(), "Залито 100 %");
    EXPECT_EQ(barValues, packetSteps(image.size(), block));
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.report()["uploads"].toInt() == 1; }, 10000));
    EXPECT_EQ(device.received(), paddedToBlocks(image, block));
    const int firstNaks = device.report()["naks"].toInt();
    EXPECT_GE(firstNaks, device.report()["packets"].toInt() / 3);
    EXPECT_GT(firstNaks, 0);

    // Before the presence poll has released the first worker.
    const QByteArray second = imageBytes(GetParam().imageSize / 2).toUpper();
    uploadImage(imageFile(second));
    runToTheEnd();
    EXPECT_EQ(prompts.messages.back(), kCompleted);
    device.stop();
    EXPECT_EQ(device.received(), paddedToBlocks(second, block));
    EXPECT_EQ(device.report()["uploads"].toInt(), 2);
    EXPECT_TRUE(device.report()["completed"].toBool());
}

INSTANTIATE_TEST_SUITE_P(Models, UploadWindowModelTest,
                         testing::Values(ModelCase{DeviceModel::Records32, 257 * 128 + 44},
                                         ModelCase{DeviceModel::Records99, 5 * 1056 + 100}),
                         [](const testing::TestParamInfo<ModelCase> &model) {
                             return model.param.model == DeviceModel::Records32 ? "Records32" : "Records99";
                         });

// A device that never answers the upload: the start step on the second
// tick, the countdown while nothing is acknowledged, the failure on the
// seventh, with the text of whether a data packet went out.
TEST_F(UploadWindowTest, ASilentDeviceEndsInTheWatchdogFailure)
{
    const struct {
        DeviceModel model;
        QString failure;
        QStringList countdown; // ST_wait after each tick while it shows
    } cases[] = {
        {DeviceModel::Records32, "Устройство выключено или выбран другой порт",
         {"6", "5", "4", "3", "2", "1"}},
        {DeviceModel::Records99, "Сбой передачи", {"6", "5"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.model));
        UploadDevice device(c.model, {"--silent-after", "0"});
        connectTo(device, c.model);
        uploadImage(imageFile(imageBytes(3000)));
        QStringList countdown;
        for (int tick = 1; tick < 7; ++tick) {
            window->Timer1Timer();
            QCoreApplication::processEvents(); // the first packet's progress, if one went out
            if (window->ST_wait->isVisibleTo(window.get()))
                countdown << window->ST_wait->text();
        }
        EXPECT_EQ(countdown, c.countdown);
        const size_t shown = prompts.messages.size();
        window->Timer1Timer();
        ASSERT_EQ(prompts.messages.size(), shown + 1);
        EXPECT_EQ(prompts.messages.back(), (Prompts::Message{c.failure, "Ошибка", Icon::Warning}));
        expectIdleAfterTheUpload();
        EXPECT_TRUE(window->port().isOpen());
        device.stop();
        EXPECT_EQ(device.report()["packets"].toInt(), c.model == DeviceModel::Records32 ? 0 : 1);
    }
}

TEST_F(UploadWindowTest, ALostAckEndsInTheTransferFailureFiveTicksLater)
{
    UploadDevice device(DeviceModel::Records99, {"--drop-ack", "2"});
    connectTo(device, DeviceModel::Records99);
    uploadImage(imageFile(imageBytes(5 * 1056)));
    window->Timer1Timer();
    window->Timer1Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->progressb1->value() == 2 * 1056; }, 10000));
    for (int tick = 0; tick < 4; ++tick)
        window->Timer1Timer();
    EXPECT_TRUE(prompts.messages.size() == 1u); // the confirmation alone
    window->Timer1Timer();
    EXPECT_EQ(prompts.messages.back(), (Prompts::Message{"Сбой передачи", "Ошибка", Icon::Warning}));
    expectIdleAfterTheUpload();
    // The percentage the worker showed last stays until the next poll.
    EXPECT_EQ(window->Connection->text(), "Залито 40 %");
}

// The device's cancel closes the port; the next poll forgets the device,
// so a new upload is refused.
TEST_F(UploadWindowTest, TheDeviceCancelsMidWay)
{
    UploadDevice device(DeviceModel::Records32, {"--can-at", "3"});
    connectTo(device, DeviceModel::Records32);
    uploadImage(imageFile(imageBytes(2000)));
    runToTheEnd();
    EXPECT_EQ(prompts.messages.back(), kCancelled);
    expectIdleAfterTheUpload();
    EXPECT_FALSE(window->port().isOpen());

    window->Timer2Timer();
    EXPECT_EQ(window->Connection->text(), "");
    EXPECT_EQ(window->deviceState(), 0);
    prompts.choices.push_back({imageFile(imageBytes(100))});
    window->B_binClick();
    EXPECT_EQ(prompts.messages.back(), kNotReady);
    EXPECT_FALSE(window->Timer1->isActive());
    device.stop();
    EXPECT_TRUE(device.report()["cancelled"].toBool());
    EXPECT_EQ(device.received().size(), 2 * 128);
}

TEST_F(UploadWindowTest, AnEmptyImageEndsAtTheStartStepOfThePageBlockProtocol)
{
    UploadDevice device(DeviceModel::Records99);
    connectTo(device, DeviceModel::Records99);
    uploadImage(imageFile({}));
    EXPECT_EQ(window->progressb1->maximum(), 1);
    runToTheEnd();
    EXPECT_EQ(prompts.messages.back(), kCompleted);
    expectIdleAfterTheUpload();
    device.stop();
    EXPECT_TRUE(device.report()["completed"].toBool());
    EXPECT_EQ(device.report()["packets"].toInt(), 0);
}

// With the real watchdog: "Записать" builds the table's image and uploads it.
TEST_F(UploadWindowTest, RecordingBuildsTheTablesImageAndUploadsIt)
{
    UploadDevice device(DeviceModel::Records99);
    connectTo(device, DeviceModel::Records99);
    for (const char *name : {"one.krd", "two.krd"})
        ASSERT_EQ(window->AddRecordingFile(writeRecording(files.filePath(name),
                                                          {3000, 6000, 272, 0, imageBytes(3000)})),
                  1);
    window->RefreshTable();

    window->B_recClick();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], kConfirmation);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Timer2->isActive(); }, 30000));
    EXPECT_EQ(prompts.messages.back(), kCompleted);
    QFile built(files.filePath("romsound.bkr"));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    device.stop();
    EXPECT_EQ(device.received(), paddedToBlocks(built.readAll(), 1056));
}

TEST_F(UploadWindowTest, NothingStartsWithoutADeviceAConfirmationOrAReadableFile)
{
    dropDownPortList();
    ASSERT_EQ(window->AddRecordingFile(writeRecording(files.filePath("one.krd"), {1000, 2000, 90, 0, imageBytes(1000)})), 1);
    window->RefreshTable();
    window->B_recClick();
    EXPECT_EQ(prompts.messageTexts(), QStringList{"Устройство не готово"});
    EXPECT_TRUE(QFile::exists(files.filePath("romsound.bkr")));

    UploadDevice device(DeviceModel::Records32);
    connectTo(device, DeviceModel::Records32);
    const QString missing = files.filePath("missing.bkr");
    prompts.messages.clear();
    prompts.answers = {Prompts::Answer::Cancel};
    prompts.choices = {{imageFile(imageBytes(100))}, {}, {missing}};
    window->B_binClick(); // confirmation refused
    window->B_binClick(); // dialog cancelled
    window->B_binClick(); // a file that is not there
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[0], kConfirmation);
    EXPECT_EQ(prompts.messages[1], kConfirmation);
    EXPECT_TRUE(prompts.messages[2].text.startsWith("Не удалось открыть файл " + missing + ": "));
    EXPECT_EQ(prompts.messages[2].caption, "Ошибка");
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(window->Timer2->isActive());
    EXPECT_FALSE(window->StaticT1->isVisibleTo(window.get()));
    EXPECT_TRUE(window->LoadBinBtn->isEnabled());
    device.stop();
    EXPECT_EQ(device.report()["uploads"].toInt(), 0);
}

TEST_F(UploadWindowTest, ClosingTheWindowEndsAnUploadUnderWay)
{
    UploadDevice device(DeviceModel::Records32, {"--ack-delay-ms", "10"});
    connectTo(device, DeviceModel::Records32);
    uploadImage(imageFile(imageBytes(100000)));
    ASSERT_NO_FATAL_FAILURE(tickUntilUnderWay());
    window.reset();
    device.stop();
    const QJsonObject report = device.report();
    EXPECT_FALSE(report["completed"].toBool());
    EXPECT_GT(report["packets"].toInt(), 0);
}

// A sparse file of 5 GiB: the bar's range and the percentage stay within
// their types while the first packets go out, until the device cancels.
TEST_F(UploadWindowTest, AFileOfGigabytesShowsItsProgressWithinRange)
{
    const QString path = files.filePath("huge.bkr");
    QFile huge(path);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(5) << 30));
    huge.close();
    UploadDevice device(DeviceModel::Records99, {"--can-at", "4"});
    connectTo(device, DeviceModel::Records99);
    uploadImage(path);
    const int maximum = window->progressb1->maximum();
    EXPECT_GT(maximum, 1 << 30);

    runToTheEnd();
    EXPECT_EQ(prompts.messages.back(), kCancelled);
    EXPECT_EQ(window->Connection->text(), "Залито 0 %");
    ASSERT_EQ(barValues.size(), 5u); // four packets, then back to 0
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_GT(barValues[i], i == 0 ? 0 : barValues[i - 1]);
        EXPECT_LT(barValues[i], maximum);
    }
    device.stop();
    EXPECT_EQ(device.received().size(), 3 * 1056);
}

// The device goes away mid-upload, its end of the line closed: the worker
// waits out its reads rather than spinning, the watchdog ends the upload,
// and the next poll forgets the device.
TEST_F(UploadWindowTest, ADeviceUnpluggedMidUploadEndsInTheWatchdogFailure)
{
    UploadDevice device(DeviceModel::Records32, {"--ack-delay-ms", "5"});
    connectTo(device, DeviceModel::Records32);
    uploadImage(imageFile(imageBytes(300000)));
    ASSERT_NO_FATAL_FAILURE(tickUntilUnderWay());
    device.stop();

    const auto processorTime = [] {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
    };
    const double busyBefore = processorTime();
    QTest::qWait(1000);
    EXPECT_LT(processorTime() - busyBefore, 0.5); // a spinning worker takes the whole second

    for (int tick = 0; tick < 5; ++tick)
        window->Timer1Timer();
    EXPECT_EQ(prompts.messages.back(), (Prompts::Message{"Сбой передачи", "Ошибка", Icon::Warning}));
    expectIdleAfterTheUpload();
    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), 0);
    EXPECT_FALSE(device.report()["completed"].toBool());
}
