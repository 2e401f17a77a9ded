#include "link/posted_upload_events.h"

#include "core/thread_handoff.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

// One call on its way to the receiver's thread.
class CallEvent final : public QEvent
{
public:
    static Type kind()
    {
        static const Type registered = Type(registerEventType());
        return registered;
    }

    explicit CallEvent(std::function<void()> call) : QEvent(kind()), call_(std::move(call)) {}

    void run() const { call_(); }

private:
    const std::function<void()> call_;
};

class CallRelay final : public QObject
{
public:
    bool event(QEvent *event) override
    {
        markTakenOver(event);
        if (event->type() != CallEvent::kind())
            return QObject::event(event);
        static_cast<const CallEvent *>(event)->run();
        return true;
    }
};

} // namespace

PostedUploadEvents::PostedUploadEvents(QObject &receiver, UploadHandlers handlers)
    : relay_(std::make_unique<CallRelay>()), handlers_(std::move(handlers))
{
    relay_->moveToThread(receiver.thread());
}

PostedUploadEvents::~PostedUploadEvents() = default;

// The event is whole before it is handed over, so that the thread checker
// sees every byte of it written before the receiver's thread reads it.
void PostedUploadEvents::post(std::function<void()> call)
{
    auto *event = new CallEvent(std::move(call));
    markHandedOver(event);
    QCoreApplication::postEvent(relay_.get(), event);
}

void PostedUploadEvents::deliverQueued()
{
    QCoreApplication::sendPostedEvents(relay_.get(), CallEvent::kind());
}

void PostedUploadEvents::progressed(UploadProgress progress)
{
    post([handler = handlers_.progressed, progress] { handler(progress); });
}

void PostedUploadEvents::completed()
{
    post(handlers_.completed);
}

void PostedUploadEvents::cancelled()
{
    post(handlers_.cancelled);
}

void PostedUploadEvents::failed(const QString &problem)
{
    post([handler = handlers_.failed, problem] { handler(problem); });
}
