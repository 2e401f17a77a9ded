#pragma once

#include "link/upload_events.h"

#include <QObject>

#include <functional>

// What to do with an upload's news on the receiver's own thread.
struct UploadHandlers {
    std::function<void(UploadProgress)> progressed;
    std::function<void()> completed;
    std::function<void()> cancelled;
    std::function<void(const QString &problem)> failed;
};

// Upload events carried over to the receiver's thread: each call is queued
// there and returns at once, never waiting for the handler. Calls still
// queued when the receiver goes are dropped.
class PostedUploadEvents final : public UploadEvents
{
public:
    PostedUploadEvents(QObject &receiver, UploadHandlers handlers)
        : receiver_(receiver), handlers_(std::move(handlers))
    {
    }

    void progressed(UploadProgress progress) override;
    void completed() override;
    void cancelled() override;
    void failed(const QString &problem) override;

private:
    template <typename Call>
    void post(Call &&call);

    QObject &receiver_;
    const UploadHandlers handlers_;
};
