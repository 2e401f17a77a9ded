#pragma once

#include <QString>

#include <cstdint>

// How far an upload has come.
struct UploadProgress {
    int64_t sent = 0;   // bytes of the file in the packets sent, never more than length
    int64_t length = 0; // the upload file's length

    // The share sent in whole percent, the fraction dropped: 100 after the
    // last packet, short or not.
    int percent() const { return length > 0 ? int(sent * 100 / length) : 0; }

    bool operator==(const UploadProgress &) const = default;
};

// What an upload tells whoever shows it. The calls come from the thread that
// runs the transfer: the worker, or the start step's caller for the first
// packet. An implementation hands them over to its own thread without
// waiting, so that its thread may wait for the worker's end.
class UploadEvents
{
public:
    virtual ~UploadEvents() = default;

    // A new data packet went out (a resend is not one).
    virtual void progressed(UploadProgress progress) = 0;
    // The end of transmission went out; the upload file is closed.
    virtual void completed() = 0;
    // The device cancelled; the upload file and the port are closed.
    virtual void cancelled() = 0;
    // The upload file could not be read; nothing more is sent.
    virtual void failed(const QString &problem) = 0;
};
