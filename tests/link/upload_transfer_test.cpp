#include "core/operation_error.h"
#include "link/upload_transfer.h"
#include "tests/link/fake_line.h"

#include <QBuffer>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kCan = 0x18;
const QByteArray kEnd("\x04\xFB", 2);

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 256) % 253);
    return bytes;
}

QByteArray packet(ProtocolVariant protocol, uint32_t sequence, const QByteArray &block)
{
    QByteArray bytes(packetSizeOf(int(block.size())), '\0');
    buildPacket(protocol, sequence,
                std::span(reinterpret_cast<const uint8_t *>(block.constData()), size_t(block.size())),
                std::span(reinterpret_cast<uint8_t *>(bytes.data()), size_t(bytes.size())));
    return bytes;
}

DeviceProfile shortBlocks()
{
    return fixedProfile(DeviceModel::Records32);
}

DeviceProfile pageBlocks(int32_t blockSize = 1056)
{
    DeviceProfile profile = fixedProfile(DeviceModel::Records99);
    profile.blockSize = blockSize;
    return profile;
}

// A file that reads well up to failAt bytes and then fails.
class FailingFile final : public QBuffer
{
public:
    FailingFile(const QByteArray &bytes, qint64 failAt) : failAt_(failAt)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (pos() >= failAt_) {
            setErrorString(QStringLiteral("Ошибка ввода-вывода"));
            return -1;
        }
        return QBuffer::readData(data, std::min(maxSize, failAt_ - pos()));
    }

private:
    qint64 failAt_;
};

class UploadTransferTest : public testing::Test
{
protected:
    void start(const QByteArray &bytes, const DeviceProfile &profile)
    {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(bytes);
        buffer->open(QIODevice::ReadOnly);
        startWith(std::move(buffer), profile);
    }

    void startWith(std::unique_ptr<QIODevice> device, const DeviceProfile &profile)
    {
        file = device.get();
        transfer = std::make_unique<UploadTransfer>(line, profile, std::move(device), events);
        transfer->sendFirstMessage();
    }

    void reply(const QByteArray &bytes)
    {
        line.replies += bytes;
        while (!line.replies.isEmpty() && line.isOpen())
            transfer->ReceiveStep();
    }

    std::vector<int> percents() const
    {
        std::vector<int> shown;
        for (const UploadProgress &p : events.progress)
            shown.push_back(p.percent());
        return shown;
    }

    FakeLine line;
    RecordedEvents events;
    QIODevice *file = nullptr;
    std::unique_ptr<UploadTransfer> transfer;
};

} // namespace

TEST_F(UploadTransferTest, ShortBlocksOfA300ByteFile)
{
    const QByteArray data = pattern(300);
    start(data, shortBlocks());
    ASSERT_EQ(line.writes, std::vector<QByteArray>{"L"});

    // The device asks for the first packet; asking again gets it unchanged.
    reply(QByteArray(1, kNak));
    reply(QByteArray(1, kNak));
    const QByteArray first = packet(ProtocolVariant::ShortBlock, 1, data.first(128));
    ASSERT_EQ(line.writes.size(), 3u);
    EXPECT_EQ(line.writes[1], first);
    EXPECT_EQ(line.writes[2], first);
    EXPECT_EQ(events.progress.size(), 1u);

    reply(QByteArray(1, kAck));
    reply(QByteArray(1, kAck));
    ASSERT_EQ(line.writes.size(), 5u);
    EXPECT_EQ(line.writes[3], packet(ProtocolVariant::ShortBlock, 2, data.sliced(128, 128)));
    EXPECT_EQ(line.writes[4],
              packet(ProtocolVariant::ShortBlock, 3, data.sliced(256) + QByteArray(84, '\xFF')));
    EXPECT_EQ(events.completions, 0);

    reply(QByteArray(1, kAck));
    ASSERT_EQ(line.writes.size(), 6u);
    EXPECT_EQ(line.writes[5], kEnd);
    EXPECT_EQ(events.completions, 1);
    EXPECT_EQ(events.ends(), 1);
    EXPECT_FALSE(file->isOpen());
    EXPECT_TRUE(line.isOpen());
    EXPECT_EQ(percents(), (std::vector<int>{42, 85, 100}));
    EXPECT_EQ(events.progress.back(), (UploadProgress{300, 300}));
}

TEST_F(UploadTransferTest, PageBlocksStartUnaskedAndEndAfterTheLastFullPage)
{
    const QByteArray data = pattern(2 * 1056);
    start(data, pageBlocks());
    const QByteArray first = packet(ProtocolVariant::PageBlock, 0, data.first(1056));
    ASSERT_EQ(line.writes, std::vector<QByteArray>{first});
    EXPECT_EQ(percents(), std::vector<int>{50});

    reply(QByteArray(1, kNak));
    ASSERT_EQ(line.writes.size(), 2u);
    EXPECT_EQ(line.writes[1], first);

    reply(QByteArray(1, kAck));
    ASSERT_EQ(line.writes.size(), 3u);
    EXPECT_EQ(line.writes[2], packet(ProtocolVariant::PageBlock, 1, data.sliced(1056)));
    EXPECT_EQ(line.writes[2].size(), 1060);

    reply(QByteArray(1, kAck));
    EXPECT_EQ(line.writes.back(), kEnd);
    EXPECT_EQ(events.completions, 1);
    EXPECT_EQ(percents(), (std::vector<int>{50, 100}));
}

TEST_F(UploadTransferTest, AnEmptyFileSendsNoPacketOnlyTheEnd)
{
    start({}, pageBlocks());
    EXPECT_EQ(line.writes, std::vector<QByteArray>{kEnd});
    EXPECT_EQ(events.completions, 1);

    line.writes.clear();
    events = {};
    start({}, shortBlocks());
    reply(QByteArray(1, kNak));
    EXPECT_EQ(line.writes, (std::vector<QByteArray>{"L", kEnd}));
    EXPECT_EQ(events.completions, 1);
    EXPECT_TRUE(events.progress.empty());
}

TEST_F(UploadTransferTest, ShortBlockNumbersWrapAfter255)
{
    start(pattern(257 * 128), shortBlocks());
    reply(QByteArray(1, kNak));
    reply(QByteArray(257, kAck));
    ASSERT_EQ(line.writes.size(), 1u + 257u + 1u);
    const auto header = [&](int packetNumber) { return line.writes[size_t(packetNumber)].first(3); };
    EXPECT_EQ(header(255), QByteArray("\x01\xFF\x00", 3));
    EXPECT_EQ(header(256), QByteArray("\x01\x00\xFF", 3));
    EXPECT_EQ(header(257), QByteArray("\x01\x01\xFE", 3));
    EXPECT_EQ(line.writes.back(), kEnd);
}

TEST_F(UploadTransferTest, PageBlockCountersSendTheirLow16Bits)
{
    // One-byte blocks reach counter 65536 quickly.
    start(pattern(65538), pageBlocks(1));
    reply(QByteArray(65536, kAck));
    ASSERT_EQ(line.writes.size(), 65537u);
    EXPECT_EQ(line.writes[258].first(3), QByteArray("\x01\x02\x01", 3));
    EXPECT_EQ(line.writes[65535].first(3), QByteArray("\x01\xFF\xFF", 3));
    EXPECT_EQ(line.writes[65536].first(3), QByteArray("\x01\x00\x00", 3));
}

TEST_F(UploadTransferTest, OtherBytesChangeNothing)
{
    start(pattern(300), shortBlocks());
    reply(QByteArray("Select mode. T (test) or L (loading) >\r\n\x00\x04\xFB\x01", 44));
    EXPECT_EQ(line.writes.size(), 1u);
    EXPECT_TRUE(events.progress.empty());
    EXPECT_EQ(events.ends(), 0);

    reply(QByteArray(1, kNak));
    EXPECT_EQ(line.writes.size(), 2u);
}

// Noise on the line after "L": counting it would number the first packet 2,
// which the device refuses for good.
TEST_F(UploadTransferTest, AnAckBeforeTheFirstPacketIsNoise)
{
    start(pattern(300), shortBlocks());
    transfer->watchdogCount() = 3;
    reply(QByteArray(2, kAck));
    EXPECT_EQ(line.writes.size(), 1u);
    EXPECT_EQ(transfer->currentWatchdogCount(), 3);

    reply(QByteArray(1, kNak));
    ASSERT_EQ(line.writes.size(), 2u);
    EXPECT_EQ(line.writes[1].first(3), QByteArray("\x01\x01\xFE", 3));
}

TEST_F(UploadTransferTest, AnAckSetsTheWatchdogBackAndANakDoesNot)
{
    start(pattern(300), shortBlocks());
    transfer->watchdogCount() = 3;
    reply(QByteArray(1, kNak));
    EXPECT_EQ(transfer->currentWatchdogCount(), 3);
    reply(QByteArray(1, kAck));
    EXPECT_EQ(transfer->currentWatchdogCount(), 0);
}

TEST_F(UploadTransferTest, TheDeviceCancelsMidWay)
{
    start(pattern(1000), shortBlocks());
    reply(QByteArray("\x15\x06", 2));
    const size_t written = line.writes.size();
    reply(QByteArray(1, kCan) + QByteArray(1, kAck));
    EXPECT_EQ(events.cancels, 1);
    EXPECT_EQ(events.ends(), 1);
    EXPECT_EQ(line.writes.size(), written);
    EXPECT_FALSE(file->isOpen());
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(transfer->ending().end(), UploadEnd::Cancelled);
}

// Once an upload has ended, whatever the device sends next changes nothing.
TEST_F(UploadTransferTest, AnUploadEndsOnce)
{
    const struct {
        const char *name;
        QByteArray before; // replies that bring the end, if any
        UploadEnd end;
    } cases[] = {
        {"completed", QByteArray("\x15\x06\x06\x06", 4), UploadEnd::Completed},
        {"watchdog failure", QByteArray("\x15", 1), UploadEnd::WatchdogFailure},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        line = FakeLine();
        events = {};
        start(pattern(300), shortBlocks());
        reply(c.before);
        if (c.end == UploadEnd::WatchdogFailure) {
            ASSERT_TRUE(transfer->ending().claim(UploadEnd::WatchdogFailure));
        }
        const size_t written = line.writes.size();
        const int ended = events.ends();

        reply(QByteArray("\x06\x15\x18", 3));
        EXPECT_EQ(line.writes.size(), written);
        EXPECT_EQ(events.ends(), ended);
        EXPECT_TRUE(line.isOpen());
        EXPECT_EQ(transfer->ending().end(), c.end);
        EXPECT_FALSE(transfer->ending().claim(UploadEnd::Cancelled));
    }
}

// A closed port answers every read at once; the worker must not spin on it
// until the watchdog gives up.
TEST_F(UploadTransferTest, AClosedPortIsWaitedOnAsAReadWouldBe)
{
    start(pattern(300), shortBlocks());
    line.close();
    QElapsedTimer clock;
    clock.start();
    for (int step = 0; step < 3; ++step)
        transfer->ReceiveStep();
    EXPECT_GE(clock.elapsed(), 3 * 15);
}

TEST_F(UploadTransferTest, AFileThatCannotBeReadEndsTheUploadWithoutTheEndOfTransmission)
{
    startWith(std::make_unique<FailingFile>(pattern(1000), 200), shortBlocks());
    reply(QByteArray("\x15\x06", 2));
    ASSERT_EQ(events.failures.size(), 1);
    EXPECT_EQ(events.failures[0], QStringLiteral("Не удалось прочитать файл : Ошибка ввода-вывода"));
    EXPECT_EQ(events.ends(), 1);
    EXPECT_EQ(line.writes.size(), 2u); // the mode command and packet 1
    EXPECT_FALSE(file->isOpen());
    EXPECT_EQ(transfer->ending().end(), UploadEnd::ReadFailure);
}

TEST(UploadTransferBlockSize, OnlySizesThePacketBufferHoldsAreSent)
{
    for (const int32_t size : {0, -1, 1997, 1 << 20}) {
        EXPECT_FALSE(blockSizeProblem(size).isEmpty()) << size;
        FakeLine line;
        RecordedEvents events;
        EXPECT_THROW(UploadTransfer(line, pageBlocks(size), std::make_unique<QBuffer>(), events),
                     OperationError);
    }
    for (const int32_t size : {1, 128, 1996})
        EXPECT_EQ(blockSizeProblem(size), "") << size;
    EXPECT_EQ(blockSizeProblem(0), "Размер блока 0 байт не подходит для заливки: допустимо от 1 до 1996");
}

TEST(UploadProgressPercent, DropsTheFractionAndHoldsForFilesBeyond32Bits)
{
    const struct {
        int64_t sent, length;
        int percent;
    } cases[] = {
        {128, 300, 42},
        {300, 300, 100},
        {1056, 8650752, 0},
        {30'000'000, 40'000'000, 75}, // x 100 no longer fits 32 bits
        {int64_t{3} << 31, int64_t{1} << 33, 75},
        {0, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ((UploadProgress{c.sent, c.length}.percent()), c.percent) << c.sent << "/" << c.length;
}
