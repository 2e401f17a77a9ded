#pragma once

#include "core/device_profile.h"
#include "tools/sim/upload_faults.h"

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <cstdint>
#include <optional>

// The figures of one upload as the device saw it.
struct UploadReport {
    int packets = 0;    // packets that arrived, good or bad, repeats included
    int naks = 0;       // NAKs that answered packets
    int repeats = 0;    // packets that arrived again after their ACK, kept once
    int badPackets = 0; // wrong start byte, numbering or checksum
    bool completed = false;
    bool cancelled = false;
    qsizetype bytes = 0;  // data kept
    double seconds = 0;   // from the first packet to the end, or to the last packet
};

// The device's loading mode: takes the packets of one upload, checks each
// (start byte, numbering, checksum), answers it and keeps the data. The
// 32-record model asks for the first packet with NAK and asks again every
// second until it comes, as plain XMODEM senders expect; a lone 04 ends the
// upload as well as the program's 04 FB.
class UploadReceiver
{
public:
    using Clock = std::chrono::steady_clock;

    UploadReceiver(DeviceModel model, const UploadFaults &faults, Clock::time_point now);

    // Takes bytes from the host and returns the device's answer. Bytes that
    // follow the end of the upload in the same call are its trailer, dropped.
    QByteArray receive(QByteArrayView bytes, Clock::time_point now);

    // The request for the first packet, when it is due again; empty otherwise.
    QByteArray askAgain(Clock::time_point now);
    std::optional<Clock::time_point> nextRequest() const;

    bool ended() const { return report_.completed || report_.cancelled; }
    const QByteArray &data() const { return data_; }
    UploadReport report() const;

private:
    QByteArray takePacket(QByteArrayView packet, Clock::time_point now);
    bool checksumFits(QByteArrayView packet) const;
    uint32_t numberOf(QByteArrayView packet) const;
    QByteArray answer(char reply) const;
    bool silent() const;
    void end(Clock::time_point now, bool completed);

    const DeviceModel model_;
    const int blockSize_;
    const UploadFaults faults_;

    QByteArray pending_;   // bytes of a packet not yet complete
    QByteArray data_;
    uint32_t expected_;    // the number the next new packet carries
    std::optional<uint32_t> lastKept_;
    std::optional<Clock::time_point> nextRequest_;
    std::optional<Clock::time_point> firstPacketAt_;
    Clock::time_point lastPacketAt_;
    UploadReport report_;
};
