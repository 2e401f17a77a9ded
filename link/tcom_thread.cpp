#include "link/tcom_thread.h"

#include "link/upload_transfer.h"

TComThread::TComThread(UploadTransfer &transfer) : transfer_(transfer)
{
    start();
}

// A step under way is finished first: at most a read time-out and a packet.
// A packet written to a device that has stopped reading can block for good;
// closing the port then wakes the write.
TComThread::~TComThread()
{
    constexpr int kStepGraceMs = 2000;
    requestInterruption();
    if (!wait(QDeadlineTimer(kStepGraceMs))) {
        transfer_.line().close();
        wait();
    }
}

void TComThread::run()
{
    while (!isInterruptionRequested() && !transfer_.ending().over())
        transfer_.ReceiveStep();
}
