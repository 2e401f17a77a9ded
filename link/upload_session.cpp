#include "link/upload_session.h"

#include "link/upload_texts.h"

UploadSession::UploadSession(SerialLine &line, const DeviceProfile &profile,
                             std::unique_ptr<QIODevice> file, UploadEvents &events)
    : line_(line), transfer_(line, profile, std::move(file), events)
{
    transfer_.watchdogCount().store(kArmedCount);
}

UploadSession::~UploadSession()
{
    worker_.reset();
}

WatchdogStep UploadSession::tick()
{
    if (transfer_.ending().over())
        return WatchdogStep::Over;
    const int32_t count = transfer_.watchdogCount().fetch_add(1) + 1;
    if (count == 0) {
        startStep();
        return WatchdogStep::Started;
    }
    if (count >= kFailureCount && transfer_.ending().claim(UploadEnd::WatchdogFailure))
        return WatchdogStep::Failed;
    return transfer_.ending().over() ? WatchdogStep::Over : WatchdogStep::Waiting;
}

QString UploadSession::failureText() const
{
    return watchdogFailureText(transfer_.packetSent());
}

// The first message goes out before the worker starts, so that everything
// it wrote is settled before the worker reads the answer; the answer waits
// in the receive queue meanwhile.
void UploadSession::startStep()
{
    line_.purge(PurgeQueue::Receive);
    transfer_.sendFirstMessage();
    worker_ = std::make_unique<TComThread>(transfer_);
}
