#pragma once

#include "tools/sim/sim_options.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// The device's side of the line: takes what the host sends and says what the
// device sends back.
class SimulatedDevice
{
public:
    explicit SimulatedDevice(SimOptions options) : options_(std::move(options)) {}

    // bytes arrived while the line was set to lineSpeed baud.
    QByteArray receive(QByteArrayView bytes, int32_t lineSpeed);

    const SimOptions &options() const { return options_; }

private:
    QByteArray identification() const;

    SimOptions options_;
};
