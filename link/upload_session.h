#pragma once

#include "link/tcom_thread.h"
#include "link/upload_transfer.h"

#include <memory>

// What a watchdog tick did.
enum class WatchdogStep {
    Waiting, // counting; nothing else happened
    Started, // the start step: the first message went out and the worker runs
    Failed,  // no acknowledgement for too long: the upload has ended
    Over,    // the upload had already ended; the tick did nothing
};

// One upload from its start to its end, the same in the window and on the
// command line: the transfer, its worker and the watchdog's rules. The
// watchdog ticks every second from the caller's thread: the second tick
// sends the first message and starts the worker; every ACK sets the count
// back to 0; a tick that brings it to 5 ends the upload.
class UploadSession
{
public:
    static constexpr int32_t kArmedCount = -2;
    static constexpr int32_t kFailureCount = 5;

    // Throws OperationError when the profile's block size cannot be sent.
    UploadSession(SerialLine &line, const DeviceProfile &profile, std::unique_ptr<QIODevice> file,
                  UploadEvents &events);
    // Stops the worker, then closes the upload file.
    ~UploadSession();

    UploadSession(const UploadSession &) = delete;
    UploadSession &operator=(const UploadSession &) = delete;

    WatchdogStep tick();

    // What the countdown shows: the ticks left until the watchdog gives up.
    int32_t ticksLeft() const { return kFailureCount - transfer_.currentWatchdogCount(); }
    // The message of a watchdog failure, by whether any data packet went out.
    QString failureText() const;

private:
    void startStep();

    SerialLine &line_;
    UploadTransfer transfer_;
    std::unique_ptr<TComThread> worker_; // after transfer_: it goes first
};
