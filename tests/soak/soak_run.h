#pragma once

#include "core/device_profile.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <random>

// How an upload ended, as the program reported it.
enum class Outcome {
    Completed,       // "Заливка завершена"
    Cancelled,       // the device's CAN
    DeviceOff,       // the watchdog, before any data packet went out
    TransferFailure, // the watchdog, after a data packet went out
    FileFailure,     // the upload file could not be read
    Hung,            // no end within the run's deadline
};
QString outcomeName(Outcome outcome);

// The fault the simulated device puts into one upload.
enum class Fault {
    None,
    NakEvery,       // every K-th packet is answered NAK; K = 1 never lets one through
    LostAck,        // the K-th packet is kept but its ACK never comes
    CancelAt,       // the K-th packet is answered CAN
    SilentAfter,    // after K packets the device answers nothing more
    SlowReplies,    // every answer comes late, yet well before the watchdog gives up
    TooSlowReplies, // every answer comes after the watchdog has given up
};
QString faultName(Fault fault);

// One upload of the soak: what is sent, to which model, and what goes wrong.
struct SoakRun {
    DeviceModel model = DeviceModel::Records32;
    qsizetype imageSize = 0;
    Fault fault = Fault::None;
    int at = 0;             // the K of the fault
    int replyDelayMs = 0;   // for the slow faults
    bool strayBytes = false; // bytes of no meaning before every answer
    bool throughWindow = false;

    int packets() const;
    // The simulator's options that put the fault in.
    QStringList simulatorArgs() const;
    // What the upload's rules make of the fault: the watchdog gives up on
    // the tick that brings its count to five, counted from the last ACK.
    Outcome expected() const;
    QString describe() const;
};

// Draws runs with the watchdog ticking every tick: the slow faults' delays
// are measured in ticks, the rest does not depend on time.
class SoakPlan
{
public:
    SoakPlan(uint64_t seed, std::chrono::milliseconds tick, int windowEvery);

    SoakRun draw(int index);

private:
    qsizetype drawSize(DeviceModel model, Fault fault);
    int uniform(int low, int high);

    std::mt19937_64 random_;
    const int tickMs_;
    const int windowEvery_;
};
