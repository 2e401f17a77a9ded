#pragma once

#include <QThread>

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
};
