#include "link/posted_upload_events.h"

template <typename Call>
void PostedUploadEvents::post(Call &&call)
{
    QMetaObject::invokeMethod(&receiver_, std::forward<Call>(call), Qt::QueuedConnection);
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
