#pragma once

#include "core/device_profile.h"
#include "link/serial_line.h"
#include "link/transfer_packet.h"
#include "link/upload_ending.h"
#include "link/upload_events.h"

#include <QIODevice>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

// Why packets of blockSize bytes cannot be sent; empty when they can.
QString blockSizeProblem(int32_t blockSize);

// Opens the file at path for an upload; throws OperationError when it cannot.
std::unique_ptr<QIODevice> openUploadFile(const QString &path);

// One upload's exchange with the device: the data packets of the file, the
// device's one-byte replies, the end of the file and the device's cancel.
// The start step (on the caller's thread) sends the first message before
// the worker starts; from then on only the worker calls ReceiveStep and,
// through it, SendBlock.
class UploadTransfer
{
public:
    // file is open for reading; its size is the upload's length. Throws
    // OperationError when the profile's block size cannot be sent.
    UploadTransfer(SerialLine &line, const DeviceProfile &profile,
                   std::unique_ptr<QIODevice> file, UploadEvents &events);

    // The start step's message: the mode command "L" in the short-block
    // protocol; packet 0 in the page-block protocol, where the device does
    // not ask for it (or, for an empty file, the end of transmission).
    void sendFirstMessage();

    // Reads one reply, waiting at most the port's read time-out, and
    // reacts to it: NAK resends, ACK sends the next packet, CAN cancels.
    void ReceiveStep();

    // Resends the last packet, sends the next one, or ends the upload at
    // the end of the file.
    void SendBlock();

    // Set to 0 by every ACK; the watchdog counts its ticks in it.
    std::atomic<int32_t> &watchdogCount() { return watchdogCount_; }
    int32_t currentWatchdogCount() const { return watchdogCount_.load(); }
    UploadEnding &ending() { return ending_; }
    SerialLine &line() { return line_; }
    bool packetSent() const { return packetSent_.load(); }

private:
    int64_t readBlock(std::span<uint8_t> block);
    void writePacket();
    void endOfFile();
    void cancelByDevice();
    void readFailure();

    SerialLine &line_;
    const int blockSize_;
    const ProtocolVariant protocol_;
    const std::unique_ptr<QIODevice> file_;
    const int64_t length_;
    UploadEvents &events_;

    std::array<uint8_t, packetSizeOf(kMaxBlockSize)> packet_{};
    bool resend_ = false;       // packet_ holds the last packet sent; a NAK sends it again
    uint8_t blockNumber_ = 1;   // short blocks
    uint32_t blockCounter_ = 0; // page blocks; its low 16 bits are sent
    int64_t sent_ = 0;

    std::atomic<int32_t> watchdogCount_{0};
    std::atomic<bool> packetSent_{false};
    UploadEnding ending_;
};
