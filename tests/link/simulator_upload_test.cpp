// The simulator's checks, which the upload tests and the reliability tests
// rely on: a device that took any packet would hide a sender's faults.
#include "link/port_opening.h"
#include "link/transfer_packet.h"
#include "tests/link/upload_device.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

const QByteArray kAck(1, 0x06);
const QByteArray kNak(1, 0x15);

class SimulatorUploadTest : public testing::Test
{
protected:
    void connect(const UploadDevice &device)
    {
        ASSERT_FALSE(device.path().isEmpty());
        ASSERT_TRUE(openPort(*line, device.path(), 115200).opened());
    }

    // Sends bytes and returns the one-byte answer, if one comes in time.
    QByteArray exchange(const QByteArray &bytes)
    {
        line->write({bytes.constData(), size_t(bytes.size())});
        return answer();
    }

    // The answer to the first packet: requests for it may still come first
    // when the test was slow to send it.
    QByteArray firstAnswer(const QByteArray &bytes)
    {
        QByteArray reply = exchange(bytes);
        while (reply == kNak)
            reply = answer();
        return reply;
    }

    QByteArray answer(int waitMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        char byte = 0;
        while (clock.elapsed() < waitMs)
            if (line->read({&byte, 1}) == 1)
                return QByteArray(1, byte);
        return {};
    }

    static QByteArray packet(ProtocolVariant protocol, uint32_t number, const QByteArray &block)
    {
        QByteArray bytes(packetSizeOf(int(block.size())), '\0');
        buildPacket(protocol, number,
                    std::span(reinterpret_cast<const uint8_t *>(block.constData()), size_t(block.size())),
                    std::span(reinterpret_cast<uint8_t *>(bytes.data()), size_t(bytes.size())));
        return bytes;
    }

    std::unique_ptr<SerialLine> line = makeSerialLine();
};

} // namespace

TEST_F(SimulatorUploadTest, TheShortBlockDeviceAsksEverySecondAndChecksEveryPacket)
{
    UploadDevice device(DeviceModel::Records32);
    connect(device);
    const QByteArray first = imageBytes(128);
    const QByteArray second = imageBytes(256).right(128);
    QByteArray damaged = packet(ProtocolVariant::ShortBlock, 2, second);
    damaged[40] = char(damaged[40] ^ 1);

    EXPECT_EQ(exchange("L"), kNak);
    EXPECT_EQ(answer(), kNak); // asked again a second later
    EXPECT_EQ(firstAnswer(packet(ProtocolVariant::ShortBlock, 1, first)), kAck);
    EXPECT_EQ(exchange(packet(ProtocolVariant::ShortBlock, 1, first)), kAck); // a repeat, kept once
    EXPECT_EQ(exchange(damaged), kNak);
    EXPECT_EQ(exchange(packet(ProtocolVariant::ShortBlock, 3, second)), kNak); // out of turn
    EXPECT_EQ(exchange("A"), kNak);                                          // no packet starts so
    EXPECT_EQ(exchange(packet(ProtocolVariant::ShortBlock, 2, second)), kAck);
    EXPECT_EQ(exchange(QByteArray(1, 0x04)), kAck); // a lone 04 ends it, as XMODEM senders send it
    device.stop();

    EXPECT_EQ(device.received(), first + second);
    const QJsonObject report = device.report();
    EXPECT_EQ(report["packets"].toInt(), 5);
    EXPECT_EQ(report["repeats"].toInt(), 1);
    EXPECT_EQ(report["badPackets"].toInt(), 3);
    EXPECT_EQ(report["naks"].toInt(), 3);
    EXPECT_TRUE(report["completed"].toBool());
    EXPECT_FALSE(report["cancelled"].toBool());
    EXPECT_EQ(report["bytes"].toInt(), 256);
}

TEST_F(SimulatorUploadTest, ThePageBlockDeviceTakesPacketZeroUnaskedAndWantsTheWholePacketToSumToZero)
{
    UploadDevice device(DeviceModel::Records99);
    connect(device);
    const QByteArray page = imageBytes(1056);
    QByteArray damaged = packet(ProtocolVariant::PageBlock, 1, page);
    damaged[1059] = char(damaged[1059] + 1);

    EXPECT_EQ(exchange(packet(ProtocolVariant::PageBlock, 0, page)), kAck);
    EXPECT_EQ(exchange(damaged), kNak);
    EXPECT_EQ(exchange(packet(ProtocolVariant::PageBlock, 1, page)), kAck);
    EXPECT_EQ(exchange(QByteArray("\x04\xFB", 2)), kAck);
    device.stop();
    EXPECT_EQ(device.received(), page + page);
    EXPECT_EQ(device.report()["badPackets"].toInt(), 1);
    EXPECT_TRUE(device.report()["completed"].toBool());
}
