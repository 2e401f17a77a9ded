#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// The far end of a pseudo-terminal whose slave a test opens as its serial
// port: what the line writes arrives here, what is written here the line reads.
class PtyPeer
{
public:
    PtyPeer();
    ~PtyPeer();

    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    const QString &path() const { return path_; }
    int fd() const { return master_; }

    void send(const QByteArray &bytes);
    // Up to count bytes, whatever has arrived by the time the wait ends.
    QByteArray receive(qsizetype count, std::chrono::milliseconds wait = std::chrono::seconds(10));
    // Whether bytes are waiting to be received.
    bool hasInput(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // The far end goes away, as when a simulator exits or an adapter is pulled.
    void hangUp();

private:
    int master_ = -1;
    QString path_;
};
