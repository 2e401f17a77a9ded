#include "link/port_opening.h"
#include "link/serial_line.h"
#include "tests/link/pty_peer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

QByteArray pattern(qsizetype size, int step)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * step) % 251);
    return bytes;
}

class SerialLineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line->open(peer.path()).opened());
    }

    QByteArray readAll(SerialLine &from, qsizetype count)
    {
        QByteArray bytes(count, '\0');
        bytes.resize(from.read({bytes.data(), size_t(count)}));
        return bytes;
    }

    PtyPeer peer;
    std::unique_ptr<SerialLine> line = makeSerialLine();
};

} // namespace

TEST(SerialLineClosed, EveryCallFailsWithoutEffect)
{
    PtyPeer peer;
    const auto neverOpened = makeSerialLine();
    const auto openedAndClosed = makeSerialLine();
    ASSERT_TRUE(openedAndClosed->open(peer.path()).opened());
    openedAndClosed->close();

    for (SerialLine *line : {neverOpened.get(), openedAndClosed.get()}) {
        EXPECT_FALSE(line->isOpen());
        const LineSettings untouched{4800, 7, true, 2};
        LineSettings settings = untouched;
        EXPECT_FALSE(line->getSettings(settings));
        EXPECT_EQ(settings, untouched);
        EXPECT_FALSE(line->setSettings({115200, 8, false, 1}));
        EXPECT_FALSE(line->setTimeouts(kPortTimeouts));
        EXPECT_FALSE(line->setQueueSizes(kPortQueueBytes, kPortQueueBytes));
        EXPECT_FALSE(line->purge(PurgeQueue::Receive));
        std::array<char, 4> buffer = {'k', 'e', 'e', 'p'};
        EXPECT_EQ(line->read(buffer), 0);
        EXPECT_EQ(QByteArray(buffer.data(), 4), "keep");
        EXPECT_FALSE(line->write(std::span<const char>("\r", 1)));
        EXPECT_FALSE(setLineSpeed(*line, 115200));
    }
    EXPECT_FALSE(peer.hasInput());
}

TEST(SerialLineOpen, FailuresSayWhy)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    const struct {
        QString path;
        OpenStatus status;
        const char *told;
    } cases[] = {
        {dir.filePath(QStringLiteral("ttyGone")), OpenStatus::Missing, "не найден"},
        {plain.fileName(), OpenStatus::Failed, "не последовательный порт"},
        {QStringLiteral("/dev/"), OpenStatus::Failed, "/dev/"},
    };
    for (const auto &c : cases) {
        const auto line = makeSerialLine();
        const OpenResult result = line->open(c.path);
        EXPECT_EQ(result.status, c.status) << c.path.toStdString();
        EXPECT_TRUE(openFailureText(result, c.path).contains(QString::fromUtf8(c.told)))
            << openFailureText(result, c.path).toStdString();
        EXPECT_FALSE(line->isOpen());
    }
}

TEST(SerialLineOpen, APortWithoutAccessIsRefusedWithTheRightsNamed)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may open every port";
    PtyPeer peer;
    ASSERT_EQ(chmod(peer.path().toLocal8Bit().constData(), 0), 0);
    const OpenResult result = makeSerialLine()->open(peer.path());
    EXPECT_EQ(result.status, OpenStatus::NoPermission);
    EXPECT_TRUE(openFailureText(result, peer.path()).contains(QStringLiteral("права на порт")));
}

TEST_F(SerialLineTest, APortIsForOneLineOnlyEvenThroughALinkOrForRoot)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyLINK"));
    ASSERT_TRUE(QFile::link(peer.path(), link));

    const auto second = makeSerialLine();
    for (const QString &path : {peer.path(), link}) {
        const OpenResult result = second->open(path);
        EXPECT_EQ(result.status, OpenStatus::InUse) << path.toStdString();
        EXPECT_TRUE(openFailureText(result, path).contains(QStringLiteral("занят")));
    }
    EXPECT_TRUE(line->isOpen());

    line->close();
    EXPECT_TRUE(second->open(link).opened());
}

TEST_F(SerialLineTest, SettingsRoundTripAndEveryByteTravelsUnchanged)
{
    for (const int32_t speed : {230400, 115200}) {
        const LineSettings wanted{speed, 8, false, 1};
        ASSERT_TRUE(line->setSettings(wanted));
        LineSettings got;
        ASSERT_TRUE(line->getSettings(got));
        EXPECT_EQ(got, wanted);
    }
    EXPECT_FALSE(line->setSettings({12345, 8, false, 1}));
    LineSettings kept;
    ASSERT_TRUE(line->getSettings(kept));
    EXPECT_EQ(kept.baudRate, 115200);

    // Line ends, flow-control and interrupt characters included.
    const QByteArray everyByte = pattern(256, 1);
    ASSERT_TRUE(line->setTimeouts({0, 10000, 0, 0}));
    peer.send(everyByte);
    EXPECT_EQ(readAll(*line, 256), everyByte);
    ASSERT_TRUE(line->write(everyByte));
    EXPECT_EQ(peer.receive(256), everyByte);
}

TEST_F(SerialLineTest, AReadEndsWhenItsBytesHaveComeOrItsTimeHasPassed)
{
    ASSERT_TRUE(line->setTimeouts(kPortTimeouts));
    const struct {
        qsizetype wanted;
        QByteArray sent;
        std::chrono::milliseconds atLeast;
    } cases[] = {
        {1, {}, 15ms},
        {79, {}, 405ms},
        {79, "abc", 405ms}, // a short answer takes the whole time
    };
    for (const auto &c : cases) {
        peer.send(c.sent);
        const auto start = Clock::now();
        EXPECT_EQ(readAll(*line, c.wanted), c.sent);
        const auto took = since(start);
        EXPECT_GE(took, c.atLeast) << c.wanted;
        EXPECT_LT(took, 5s) << c.wanted;
    }

    // Bytes that come in parts are gathered, and the read does not wait out
    // its time once they are all there.
    ASSERT_TRUE(line->setTimeouts({0, 60000, 0, 0}));
    const QByteArray answer = pattern(79, 3);
    auto sender = std::async(std::launch::async, [&] {
        peer.send(answer.first(40));
        std::this_thread::sleep_for(50ms);
        peer.send(answer.sliced(40));
    });
    const auto start = Clock::now();
    EXPECT_EQ(readAll(*line, 79), answer);
    EXPECT_LT(since(start), 30s);
}

TEST_F(SerialLineTest, AHungUpPeerIsNothingReadAfterTheWholeTimeOut)
{
    ASSERT_TRUE(line->setTimeouts({0, 200, 0, 0}));
    peer.hangUp();
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        EXPECT_EQ(readAll(*line, 1), QByteArray());
        EXPECT_GE(since(start), 200ms);
    }
    EXPECT_FALSE(line->write(std::span<const char>("\r", 1)));
}

TEST_F(SerialLineTest, PurgeThrowsAwayWhatHasArrived)
{
    ASSERT_TRUE(line->setTimeouts({0, 10000, 0, 0}));
    peer.send("stale");
    ASSERT_EQ(readAll(*line, 1), "s");
    EXPECT_TRUE(line->purge(PurgeQueue::Receive));
    EXPECT_TRUE(line->purge(PurgeQueue::Transmit));
    ASSERT_TRUE(line->setTimeouts({0, 100, 0, 0}));
    EXPECT_EQ(readAll(*line, 4), QByteArray());
}

// The upload reads the device's replies on one thread while packets go out
// on another.
TEST_F(SerialLineTest, AReaderAndAWriterOnTwoThreadsDoNotDisturbEachOther)
{
    ASSERT_TRUE(line->setTimeouts(kPortTimeouts));
    const QByteArray toLine = pattern(100000, 7);
    const QByteArray fromLine = pattern(100000, 13);

    auto reader = std::async(std::launch::async, [&] {
        QByteArray got;
        const auto end = Clock::now() + 60s;
        while (got.size() < toLine.size() && Clock::now() < end)
            got += readAll(*line, std::min<qsizetype>(79, toLine.size() - got.size()));
        return got;
    });
    auto writer = std::async(std::launch::async, [&] {
        bool all = true;
        for (qsizetype at = 0; at < fromLine.size(); at += 1060)
            all = line->write(QByteArrayView(fromLine).sliced(at, std::min<qsizetype>(1060, fromLine.size() - at))) && all;
        return all;
    });

    // The peer passes both streams at once, so that neither side's buffer
    // stays full.
    QByteArray received;
    qsizetype sent = 0;
    const auto end = Clock::now() + 60s;
    while ((received.size() < fromLine.size() || sent < toLine.size()) && Clock::now() < end) {
        pollfd fds = {peer.fd(), short(POLLIN | (sent < toLine.size() ? POLLOUT : 0)), 0};
        if (::poll(&fds, 1, 100) <= 0)
            continue;
        if (fds.revents & POLLIN)
            received += peer.receive(fromLine.size() - received.size(), 0ms);
        if ((fds.revents & POLLOUT) && sent < toLine.size()) {
            const qsizetype chunk = std::min<qsizetype>(997, toLine.size() - sent);
            peer.send(toLine.sliced(sent, chunk));
            sent += chunk;
        }
    }
    EXPECT_TRUE(writer.get());
    EXPECT_EQ(reader.get(), toLine);
    EXPECT_EQ(received, fromLine);
}

TEST_F(SerialLineTest, CloseEndsAReadAndAWriteThatWaitWithoutEnd)
{
    ASSERT_TRUE(line->setTimeouts({0, 0, 0, 0}));
    std::atomic<int> started = 0;
    auto reader = std::async(std::launch::async, [&] {
        ++started;
        return readAll(*line, 10);
    });
    // More than a pseudo-terminal holds while nobody reads the other end.
    const QByteArray flood(1 << 20, 'x');
    auto writer = std::async(std::launch::async, [&] {
        ++started;
        return line->write(flood);
    });
    ASSERT_TRUE(peer.hasInput(10000ms)); // the write is under way
    while (started < 2)
        std::this_thread::yield();

    line->close();
    ASSERT_EQ(reader.wait_for(10s), std::future_status::ready);
    ASSERT_EQ(writer.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(reader.get(), QByteArray());
    EXPECT_FALSE(writer.get());
}
