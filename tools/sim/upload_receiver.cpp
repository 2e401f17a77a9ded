#include "tools/sim/upload_receiver.h"

#include <numeric>

namespace {

constexpr char kStart = 0x01;
constexpr char kEndOfTransmission = 0x04;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kCancel = 0x18;

// Neither ACK, NAK nor CAN: the host must let them pass.
const QByteArray kStrayBytes("Sel\r\n\0", 6);

constexpr std::chrono::seconds kRequestInterval{1};

uint8_t byteSum(QByteArrayView bytes)
{
    return std::accumulate(bytes.begin(), bytes.end(), uint8_t{0},
                           [](uint8_t sum, char byte) { return uint8_t(sum + uint8_t(byte)); });
}

} // namespace

UploadReceiver::UploadReceiver(DeviceModel model, const UploadFaults &faults, Clock::time_point now)
    : model_(model),
      blockSize_(fixedProfile(model).blockSize),
      faults_(faults),
      expected_(model == DeviceModel::Records32 ? 1 : 0)
{
    if (model_ == DeviceModel::Records32)
        nextRequest_ = now;
}

QByteArray UploadReceiver::receive(QByteArrayView bytes, Clock::time_point now)
{
    QByteArray answers;
    pending_ += bytes;
    const qsizetype packetSize = blockSize_ + 4;
    while (!ended() && !pending_.isEmpty()) {
        if (pending_[0] == kEndOfTransmission) {
            const bool quiet = silent();
            end(now, true);
            if (!quiet)
                answers += answer(kAck);
            break;
        }
        if (pending_[0] != kStart) {
            // No packet starts here: drop what came and ask for the packet again.
            ++report_.badPackets;
            pending_.clear();
            if (!silent()) {
                ++report_.naks;
                answers += answer(kNak);
            }
            break;
        }
        if (pending_.size() < packetSize)
            break;
        answers += takePacket(QByteArrayView(pending_).first(packetSize), now);
        pending_.remove(0, packetSize);
    }
    return answers;
}

QByteArray UploadReceiver::askAgain(Clock::time_point now)
{
    if (!nextRequest_ || now < *nextRequest_)
        return {};
    nextRequest_ = now + kRequestInterval;
    return silent() ? QByteArray() : answer(kNak);
}

std::optional<UploadReceiver::Clock::time_point> UploadReceiver::nextRequest() const
{
    return nextRequest_;
}

UploadReport UploadReceiver::report() const
{
    UploadReport report = report_;
    report.bytes = data_.size();
    if (!ended() && firstPacketAt_)
        report.seconds = std::chrono::duration<double>(lastPacketAt_ - *firstPacketAt_).count();
    return report;
}

QByteArray UploadReceiver::takePacket(QByteArrayView packet, Clock::time_point now)
{
    const bool quiet = silent();
    const int arrival = ++report_.packets;
    if (!firstPacketAt_)
        firstPacketAt_ = now;
    lastPacketAt_ = now;
    nextRequest_.reset();
    if (quiet)
        return {};

    const uint32_t number = numberOf(packet);
    const bool repeat = lastKept_ && number == *lastKept_;
    if (!checksumFits(packet) || (number != expected_ && !repeat)) {
        ++report_.badPackets;
        ++report_.naks;
        return answer(kNak);
    }
    if (faults_.canAt == arrival) {
        end(now, false);
        return answer(kCancel);
    }
    if (faults_.nakEvery && arrival % *faults_.nakEvery == 0) {
        ++report_.naks;
        return answer(kNak);
    }
    if (repeat) {
        ++report_.repeats;
    } else {
        data_ += packet.sliced(3, blockSize_);
        lastKept_ = number;
        expected_ = (number + 1) & (model_ == DeviceModel::Records32 ? 0xFFu : 0xFFFFu);
    }
    return faults_.dropAck == arrival ? QByteArray() : answer(kAck);
}

// Short blocks: the number's complement, and the data's sum behind them.
// Page blocks: the whole packet sums to 0.
bool UploadReceiver::checksumFits(QByteArrayView packet) const
{
    if (model_ == DeviceModel::Records32)
        return uint8_t(packet[1]) + uint8_t(packet[2]) == 255
               && byteSum(packet.sliced(3, blockSize_)) == uint8_t(packet.back());
    return byteSum(packet) == 0;
}

uint32_t UploadReceiver::numberOf(QByteArrayView packet) const
{
    if (model_ == DeviceModel::Records32)
        return uint8_t(packet[1]);
    return uint8_t(packet[1]) | uint32_t(uint8_t(packet[2])) << 8;
}

QByteArray UploadReceiver::answer(char reply) const
{
    return (faults_.strayBytes ? kStrayBytes : QByteArray()) + reply;
}

bool UploadReceiver::silent() const
{
    return faults_.silentAfter && report_.packets >= *faults_.silentAfter;
}

void UploadReceiver::end(Clock::time_point now, bool completed)
{
    (completed ? report_.completed : report_.cancelled) = true;
    if (firstPacketAt_)
        report_.seconds = std::chrono::duration<double>(now - *firstPacketAt_).count();
    nextRequest_.reset();
    pending_.clear();
}
