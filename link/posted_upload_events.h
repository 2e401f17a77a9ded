#pragma once

#include "link/upload_events.h"

#include <QObject>

#include <functional>
#include <memory>

// What to do with an upload's news on the receiver's own thread.
struct UploadHandlers {
    std::function<void(UploadProgress)> progressed;
    std::function<void()> completed;
    std::function<void()> cancelled;
    std::function<void(const QString &problem)> failed;
};

// Upload events carried over to the receiver's thread: each call is queued
// there and returns at once, never waiting for the handler. Made and freed
// on the receiver's thread; calls still queued when it is freed are dropped.
class PostedUploadEvents final : public UploadEvents
{
public:
    PostedUploadEvents(QObject &receiver, UploadHandlers handlers);
    ~PostedUploadEvents() override;

    void progressed(UploadProgress progress) override;
    void completed() override;
    void cancelled() override;
    void failed(const QString &problem) override;

    // Runs at once, in order, the calls queued so far.
    void deliverQueued();

private:
    void post(std::function<void()> call);

    const std::unique_ptr<QObject> relay_; // runs the calls on the receiver's thread
    const UploadHandlers handlers_;
};
