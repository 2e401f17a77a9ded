#pragma once

#include "link/serial_line.h"
#include "link/upload_events.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// A serial line for one thread that a test drives by hand: reads hand out
// the replies queued, one call at a time, and return nothing at once when
// none is left; every write is kept as it was made.
class FakeLine final : public SerialLine
{
public:
    QByteArray replies;            // what the device has sent and nobody read yet
    std::vector<QByteArray> writes; // one entry per write call
    int receivePurges = 0;

    OpenResult open(const QString &) override;
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    bool getSettings(LineSettings &settings) override;
    bool setSettings(const LineSettings &) override { return open_; }
    bool setTimeouts(const LineTimeouts &) override { return open_; }
    bool setQueueSizes(int, int) override { return open_; }
    bool purge(PurgeQueue queue) override;
    int64_t read(std::span<char> buffer) override;
    bool write(std::span<const char> bytes) override;

    // Everything written, as one stream.
    QByteArray written() const;

private:
    bool open_ = true;
};

// Upload events as they come, on the transfer's own thread.
struct RecordedEvents final : UploadEvents {
    std::vector<UploadProgress> progress;
    int completions = 0;
    int cancels = 0;
    QStringList failures;

    void progressed(UploadProgress p) override { progress.push_back(p); }
    void completed() override { ++completions; }
    void cancelled() override { ++cancels; }
    void failed(const QString &problem) override { failures << problem; }
    int ends() const { return completions + cancels + int(failures.size()); }
};
