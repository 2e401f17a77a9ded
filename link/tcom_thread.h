#pragma once

#include <QThread>

#include <future>

class UploadTransfer;

// The upload's worker: reads the device's replies and sends the packets
// that follow, until it is asked to stop or the upload has ended. It runs
// from its creation and is not freed by itself; freeing it stops it first.
class TComThread final : public QThread
{
public:
    explicit TComThread(UploadTransfer &transfer);
    ~TComThread() override;

    TComThread(const TComThread &) = delete;
    TComThread &operator=(const TComThread &) = delete;

protected:
    void run() override;

private:
    UploadTransfer &transfer_;
    // Kept with the standard library's own waiting, which the thread
    // checker sees, rather than a timed wait on the thread itself.
    std::promise<void> stepsOver_;
    std::future<void> stepsOverSeen_ = stepsOver_.get_future();
};
