#pragma once

#include <atomic>

// How an upload ended.
enum class UploadEnd {
    None,            // it still runs
    Completed,       // the whole file and the end of transmission went out
    Cancelled,       // the device sent CAN
    WatchdogFailure, // no acknowledgement for five watchdog ticks
    ReadFailure,     // the upload file could not be read
};

// Decides how an upload ends. The end of the file, the device's cancel and
// the watchdog can each notice an end, on either thread; the first claim
// wins and every later one is refused, so an upload ends exactly once.
class UploadEnding
{
public:
    // True when this claim ended the upload.
    bool claim(UploadEnd end)
    {
        UploadEnd running = UploadEnd::None;
        return end != UploadEnd::None && state_.compare_exchange_strong(running, end);
    }

    bool over() const { return state_.load() != UploadEnd::None; }
    UploadEnd end() const { return state_.load(); }

private:
    std::atomic<UploadEnd> state_{UploadEnd::None};
};
