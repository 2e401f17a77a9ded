#include "tools/sim/simulated_device.h"

#include "tools/sim/upload_record.h"

#include <cstdio>

namespace {

// The device's own words, kept apart from the program's copy so that tests
// catch a program that expects something else.
constexpr char kModePromptLine[] = "Select mode. T (test) or L (loading) >\r\n";

constexpr char kLoadingMode = 'L';
constexpr char kStart = 0x01;
constexpr char kEndOfTransmission = 0x04;

} // namespace

SimulatedDevice::SimulatedDevice(SimOptions options) : options_(std::move(options)) {}

SimulatedDevice::~SimulatedDevice() = default;

void SimulatedDevice::receive(QByteArrayView bytes, int32_t lineSpeed, Clock::time_point now)
{
    // At a speed other than its own a device hears noise, and answers nothing.
    if (options_.baudRate && *options_.baudRate != lineSpeed)
        return;
    if (upload_)
        receiveUpload(bytes, now);
    else
        receiveIdle(bytes, now);
}

void SimulatedDevice::receiveIdle(QByteArrayView bytes, Clock::time_point now)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte == '\r') {
            send(identification(), now);
        } else if (options_.model == DeviceModel::Records32 && byte == kLoadingMode) {
            startUpload(now);
            receiveUpload(bytes.sliced(i + 1), now);
            return;
        } else if (options_.model == DeviceModel::Records99
                   && (byte == kStart || byte == kEndOfTransmission)) {
            // The page-block upload begins unasked, an empty one with its end.
            startUpload(now);
            receiveUpload(bytes.sliced(i), now);
            return;
        }
    }
}

void SimulatedDevice::startUpload(Clock::time_point now)
{
    upload_ = std::make_unique<UploadReceiver>(options_.model, options_.faults, now);
    ++uploads_;
    send(upload_->askAgain(now), now);
}

void SimulatedDevice::receiveUpload(QByteArrayView bytes, Clock::time_point now)
{
    send(upload_->receive(bytes, now),
         now + std::chrono::milliseconds(options_.faults.ackDelayMs));
    if (upload_->ended()) {
        saveUpload();
        upload_.reset();
    }
}

QByteArray SimulatedDevice::takeDue(Clock::time_point now)
{
    if (upload_)
        send(upload_->askAgain(now), now);
    QByteArray due;
    while (!outbox_.empty() && outbox_.front().at <= now) {
        due += outbox_.front().bytes;
        outbox_.pop_front();
    }
    return due;
}

std::optional<SimulatedDevice::Clock::time_point> SimulatedDevice::nextWake() const
{
    std::optional<Clock::time_point> wake = upload_ ? upload_->nextRequest() : std::nullopt;
    if (!outbox_.empty() && (!wake || outbox_.front().at < *wake))
        wake = outbox_.front().at;
    return wake;
}

void SimulatedDevice::stop()
{
    if (upload_)
        saveUpload();
    upload_.reset();
}

void SimulatedDevice::saveUpload()
{
    const QString problem = ::saveUpload(*upload_, uploads_, options_.outPath, options_.reportPath);
    if (!problem.isEmpty())
        std::fprintf(stderr, "soundloader-sim: %s\n", problem.toUtf8().constData());
}

// Answers go out in the order given; a later one never overtakes an earlier.
void SimulatedDevice::send(const QByteArray &bytes, Clock::time_point at)
{
    if (bytes.isEmpty())
        return;
    if (!outbox_.empty() && outbox_.back().at > at)
        at = outbox_.back().at;
    outbox_.push_back({at, bytes});
}

QByteArray SimulatedDevice::identification() const
{
    if (options_.silent)
        return {};
    if (options_.reply)
        return *options_.reply;
    if (options_.model == DeviceModel::Records32)
        return kModePromptLine;
    return options_.versionLine + "\r\n";
}
