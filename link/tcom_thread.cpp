#include "link/tcom_thread.h"

#include "link/upload_transfer.h"

#include <chrono>

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
    constexpr auto kStepGrace = std::chrono::seconds(2);
    requestInterruption();
    if (stepsOverSeen_.wait_for(kStepGrace) != std::future_status::ready)
        transfer_.line().close();
    wait();
}

void TComThread::run()
{
    while (!isInterruptionRequested() && !transfer_.ending().over())
        transfer_.ReceiveStep();
    stepsOver_.set_value();
}
