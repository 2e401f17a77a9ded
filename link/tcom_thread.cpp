#include "link/tcom_thread.h"

#include "link/upload_transfer.h"

TComThread::TComThread(UploadTransfer &transfer) : transfer_(transfer)
{
    start();
}

// A step under way is finished first: at most a read time-out and a packet.
TComThread::~TComThread()
{
    requestInterruption();
    wait();
}

void TComThread::run()
{
    while (!isInterruptionRequested() && !transfer_.ending().over())
        transfer_.ReceiveStep();
}
