#include "link/tcom_thread.h"

#include "core/thread_handoff.h"
#include "link/upload_transfer.h"

TComThread::TComThread(UploadTransfer &transfer) : transfer_(transfer)
{
    setObjectName(QStringLiteral("TComThread")); // the system's name of the thread, for a debugger or ps
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
    markTakenOver(this);
}

void TComThread::run()
{
    while (!isInterruptionRequested() && !transfer_.ending().over())
        transfer_.ReceiveStep();
    markHandedOver(this); // what the worker did is done once wait() returns
}
