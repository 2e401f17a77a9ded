// The receiving side of an upload: ReceiveStep fed arbitrary reply bytes
// over a line in memory. The first input byte chooses the model, the next
// two the upload file's length; the rest is what the device sends. Whatever
// it sends, the program's packets must be well-formed and in turn, every
// ACK or NAK gets exactly one answer, and the upload ends at most once and
// only as the bytes said.
#include "fuzz/fuzz_support.h"
#include "link/transfer_packet.h"
#include "link/upload_transfer.h"
#include "tests/link/fake_line.h"

#include <QBuffer>

namespace {

constexpr int32_t kWatchdogMark = 3; // a count no reply but ACK changes

QByteArray fileBytes(qsizetype length)
{
    QByteArray bytes(length, '\0');
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

uint8_t byteSum(QByteArrayView bytes)
{
    uint8_t sum = 0;
    for (const char byte : bytes)
        sum = uint8_t(sum + uint8_t(byte));
    return sum;
}

uint32_t sequenceOf(const QByteArray &packet, ProtocolVariant protocol)
{
    if (protocol == ProtocolVariant::ShortBlock)
        return uint8_t(packet[1]);
    return uint8_t(packet[1]) | uint32_t(uint8_t(packet[2])) << 8;
}

// The start byte, the number and its complement or the counter, and the
// checksum: of the data (short blocks) or making the packet's sum zero.
void checkWellFormed(const QByteArray &packet, const DeviceProfile &profile)
{
    FUZZ_CHECK(packet.size() == packetSizeOf(profile.blockSize));
    FUZZ_CHECK(uint8_t(packet[0]) == wire::kStart);
    const QByteArrayView data = QByteArrayView(packet).sliced(3, profile.blockSize);
    if (profile.protocol == ProtocolVariant::ShortBlock) {
        FUZZ_CHECK(uint8_t(packet[1]) + uint8_t(packet[2]) == 255);
        FUZZ_CHECK(byteSum(data) == uint8_t(packet.back()));
    } else {
        FUZZ_CHECK(byteSum(packet) == 0);
    }
}

// The k-th new packet carries the file's k-th block, FF past its end.
void checkData(const QByteArray &packet, qsizetype block, const QByteArray &file, int blockSize)
{
    const qsizetype from = block * blockSize;
    FUZZ_CHECK(from < file.size());
    const QByteArray expected = file.mid(from, blockSize).leftJustified(blockSize, '\xFF');
    FUZZ_CHECK(packet.mid(3, blockSize) == expected);
}

struct Written {
    qsizetype newPackets = 0;
    bool endOfTransmission = false;
};

// Every write after the first message: packets in turn, a packet again only
// as the very same bytes, and the end of transmission last.
Written checkWrites(const std::vector<QByteArray> &writes, size_t first, const DeviceProfile &profile,
                    const QByteArray &file)
{
    const QByteArray end(reinterpret_cast<const char *>(wire::kEndOfTransmission), 2);
    const uint32_t wrap = profile.protocol == ProtocolVariant::ShortBlock ? 0x100 : 0x10000;
    uint32_t nextSequence = profile.protocol == ProtocolVariant::ShortBlock ? 1 : 0;
    Written written;
    const QByteArray *previous = nullptr;
    for (size_t i = first; i < writes.size(); ++i) {
        const QByteArray &bytes = writes[i];
        if (bytes == end) {
            FUZZ_CHECK(i + 1 == writes.size());
            written.endOfTransmission = true;
            break;
        }
        checkWellFormed(bytes, profile);
        if (previous && bytes == *previous)
            continue; // a resend
        FUZZ_CHECK(sequenceOf(bytes, profile.protocol) == nextSequence);
        checkData(bytes, written.newPackets, file, profile.blockSize);
        nextSequence = (nextSequence + 1) % wrap;
        ++written.newPackets;
        previous = &bytes;
    }
    return written;
}

void checkUpload(DeviceModel model, qsizetype length, const QByteArray &replies)
{
    const DeviceProfile profile = fixedProfile(model);
    const QByteArray file = fileBytes(length);
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(file);
    buffer->open(QIODevice::ReadOnly);
    FakeLine line;
    RecordedEvents events;
    UploadTransfer transfer(line, profile, std::move(buffer), events);

    transfer.sendFirstMessage();
    transfer.watchdogCount().store(kWatchdogMark);
    const size_t firstWrites = line.writes.size();
    line.replies = replies;
    while (!line.replies.isEmpty() && !transfer.ending().over())
        transfer.ReceiveStep();
    const QByteArray taken = replies.first(replies.size() - line.replies.size());

    const bool shortBlocks = profile.protocol == ProtocolVariant::ShortBlock;
    FUZZ_CHECK(!line.writes.empty());
    if (shortBlocks)
        FUZZ_CHECK(line.writes.front() == "L");
    const Written written = checkWrites(line.writes, shortBlocks ? 1 : 0, profile, file);
    const qsizetype packets = (length + profile.blockSize - 1) / profile.blockSize;
    FUZZ_CHECK(written.newPackets <= packets);

    // Each ACK or NAK gets one write and other bytes none; an ACK before
    // the first packet is noise.
    const qsizetype firstNak = taken.indexOf(char(wire::kNak));
    const QByteArray beforeFirstPacket = !shortBlocks ? QByteArray() : firstNak < 0 ? taken : taken.first(firstNak);
    const qsizetype answered = taken.count(char(wire::kAck)) + taken.count(char(wire::kNak))
                               - beforeFirstPacket.count(char(wire::kAck));
    FUZZ_CHECK(qsizetype(line.writes.size() - firstWrites) == answered);
    const bool cancelled = taken.contains(char(wire::kCancel));

    FUZZ_CHECK(events.ends() <= 1 && events.failures.isEmpty());
    FUZZ_CHECK((events.completions == 1) == written.endOfTransmission);
    if (written.endOfTransmission)
        FUZZ_CHECK(written.newPackets == packets);
    // The device's CAN ends it at once, closing the port.
    FUZZ_CHECK((events.cancels == 1) == cancelled);
    if (cancelled)
        FUZZ_CHECK(taken.indexOf(char(wire::kCancel)) == taken.size() - 1 && !line.isOpen());

    FUZZ_CHECK(qsizetype(events.progress.size()) == written.newPackets);
    for (size_t k = 0; k < events.progress.size(); ++k) {
        const UploadProgress &progress = events.progress[k];
        FUZZ_CHECK(progress.length == length);
        FUZZ_CHECK(progress.sent == std::min<int64_t>(int64_t(k + 1) * profile.blockSize, length));
        FUZZ_CHECK(progress.percent() >= 0 && progress.percent() <= 100);
    }
    // Only an ACK sets the watchdog back.
    const int32_t count = transfer.currentWatchdogCount();
    FUZZ_CHECK(count == kWatchdogMark || (count == 0 && taken.contains(char(wire::kAck))));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const DeviceModel model = (data[0] & 1) != 0 ? DeviceModel::Records99 : DeviceModel::Records32;
    const qsizetype length = qsizetype(data[1]) | qsizetype(data[2]) << 8;
    checkUpload(model, length, inputBytes(data + 3, size - 3));
    return 0;
}
