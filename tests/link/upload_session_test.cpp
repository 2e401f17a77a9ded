#include "link/port_opening.h"
#include "link/posted_upload_events.h"
#include "link/upload_session.h"
#include "tests/link/pty_peer.h"

#include <QBuffer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QByteArray kAck(1, 0x06);
const QByteArray kNak(1, 0x15);

// A session over a pseudo-terminal whose far end the test plays, with its
// events carried over to the test's thread as the window gets them.
class UploadSessionTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(openPort(*line, peer.path(), 115200).opened()); }

    void start(qsizetype size, const DeviceProfile &profile)
    {
        auto file = std::make_unique<QBuffer>();
        file->setData(QByteArray(size, 'x'));
        file->open(QIODevice::ReadOnly);
        session = std::make_unique<UploadSession>(*line, profile, std::move(file), events);
    }

    // Ticks until the start step, which sends what the device first receives.
    QByteArray tickToStart(qsizetype firstMessageSize)
    {
        EXPECT_EQ(session->tick(), WatchdogStep::Waiting);
        EXPECT_EQ(session->ticksLeft(), 6);
        EXPECT_EQ(session->tick(), WatchdogStep::Started);
        EXPECT_EQ(session->ticksLeft(), 5);
        return peer.receive(firstMessageSize);
    }

    PtyPeer peer;
    std::unique_ptr<SerialLine> line = makeSerialLine();
    QObject receiver;
    std::vector<QString> shown; // what reached the test's thread, in order
    bool onReceiverThread = true;
    PostedUploadEvents events{
        receiver,
        {[this](UploadProgress p) { note(QString::number(p.percent())); },
         [this] { note(QStringLiteral("completed")); },
         [this] { note(QStringLiteral("cancelled")); },
         [this](const QString &problem) { note(problem); }}};
    std::unique_ptr<UploadSession> session;

private:
    void note(const QString &what)
    {
        onReceiverThread = onReceiverThread && QThread::currentThread() == receiver.thread();
        shown.push_back(what);
    }
};

} // namespace

// A silent device: the start step comes on the second tick and the seventh
// gives up, with the text that tells whether any data packet went out.
TEST_F(UploadSessionTest, ASilentDeviceFailsOnTheSeventhTick)
{
    const struct {
        const char *name;
        DeviceProfile profile;
        qsizetype firstMessage;
        QString failure;
    } cases[] = {
        {"short blocks", fixedProfile(DeviceModel::Records32), 1,
         "Устройство выключено или выбран другой порт"},
        {"page blocks", fixedProfile(DeviceModel::Records99), 1060, "Сбой передачи"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        start(5000, c.profile);
        peer.send(kNak); // stale: the start step throws it away
        const QByteArray first = tickToStart(c.firstMessage);
        EXPECT_EQ(first.size(), c.firstMessage);
        if (c.firstMessage == 1) {
            EXPECT_EQ(first, "L");
        }
        for (int32_t left = 4; left >= 1; --left) {
            EXPECT_EQ(session->tick(), WatchdogStep::Waiting);
            EXPECT_EQ(session->ticksLeft(), left);
        }
        EXPECT_EQ(session->tick(), WatchdogStep::Failed);
        EXPECT_EQ(session->failureText(), c.failure);
        EXPECT_EQ(session->tick(), WatchdogStep::Over);
        session.reset();
        EXPECT_FALSE(peer.hasInput(100ms)); // the stale NAK got no packet
        QCoreApplication::processEvents();
        shown.clear();
    }
}

TEST_F(UploadSessionTest, EveryAckPutsTheWatchdogBack)
{
    start(5000, fixedProfile(DeviceModel::Records32));
    ASSERT_EQ(tickToStart(1), "L");
    peer.send(kNak);
    ASSERT_EQ(peer.receive(132).size(), 132);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(session->tick(), WatchdogStep::Waiting);

    peer.send(kAck);
    ASSERT_EQ(peer.receive(132).size(), 132); // the ACK has been taken
    EXPECT_EQ(session->ticksLeft(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(session->tick(), WatchdogStep::Waiting);
    EXPECT_EQ(session->tick(), WatchdogStep::Failed);
    EXPECT_EQ(session->failureText(), "Сбой передачи");
}

TEST_F(UploadSessionTest, TheWorkerCompletesOnceAndItsNewsArriveInOrderOnTheReceiversThread)
{
    start(300, fixedProfile(DeviceModel::Records32));
    ASSERT_EQ(tickToStart(1), "L");
    peer.send(kNak);
    for (int packet = 0; packet < 3; ++packet) {
        ASSERT_EQ(peer.receive(132).size(), 132);
        peer.send(kAck);
    }
    EXPECT_EQ(peer.receive(2), QByteArray("\x04\xFB", 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 4; }, 10000));
    EXPECT_EQ(shown, (std::vector<QString>{"42", "85", "100", "completed"}));
    EXPECT_TRUE(onReceiverThread);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(session->tick(), WatchdogStep::Over);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 4u);
}

TEST_F(UploadSessionTest, ReleasingTheSessionStopsItsWorkerMidUpload)
{
    start(100000, fixedProfile(DeviceModel::Records99));
    ASSERT_EQ(tickToStart(1060).size(), 1060);
    peer.send(kAck);
    ASSERT_EQ(peer.receive(1060).size(), 1060);
    session.reset();
    peer.send(kAck);
    EXPECT_FALSE(peer.hasInput(200ms));
    EXPECT_TRUE(line->isOpen());
}

TEST_F(UploadSessionTest, ReleasingAWorkerStuckInAWriteClosesThePortToWakeIt)
{
    start(1 << 20, fixedProfile(DeviceModel::Records99));
    ASSERT_EQ(tickToStart(1060).size(), 1060);
    // A device that acknowledges on and on but reads nothing more: the
    // packets fill the terminal's buffer and the worker's write blocks.
    peer.send(QByteArray(400, 0x06));
    QTest::qWait(500);

    session.reset();
    EXPECT_FALSE(line->isOpen());
}
