#pragma once

#include "tools/sim/sim_options.h"
#include "tools/sim/upload_receiver.h"

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

// The device's side of the line: takes what the host sends and says what the
// device sends back, and when. Idle, it answers the identification request;
// the 32-record model enters loading on "L", the 99-record model on the
// first packet of an upload.
class SimulatedDevice
{
public:
    using Clock = std::chrono::steady_clock;

    explicit SimulatedDevice(SimOptions options);
    ~SimulatedDevice();

    SimulatedDevice(const SimulatedDevice &) = delete;
    SimulatedDevice &operator=(const SimulatedDevice &) = delete;

    // bytes arrived at now while the line was set to lineSpeed baud.
    void receive(QByteArrayView bytes, int32_t lineSpeed, Clock::time_point now);
    // What the device has to send by now, in order.
    QByteArray takeDue(Clock::time_point now);
    // When the device next has something to send.
    std::optional<Clock::time_point> nextWake() const;
    // The device is switched off: an upload under way is saved as it stands.
    void stop();

    const SimOptions &options() const { return options_; }

private:
    void receiveIdle(QByteArrayView bytes, Clock::time_point now);
    void startUpload(Clock::time_point now);
    void receiveUpload(QByteArrayView bytes, Clock::time_point now);
    void saveUpload();
    void send(const QByteArray &bytes, Clock::time_point at);
    QByteArray identification() const;

    SimOptions options_;
    std::unique_ptr<UploadReceiver> upload_;
    int uploads_ = 0;
    struct Outgoing {
        Clock::time_point at;
        QByteArray bytes;
    };
    std::deque<Outgoing> outbox_;
};
