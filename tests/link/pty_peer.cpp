#include "tests/link/pty_peer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

PtyPeer::PtyPeer()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0
        || ptsname_r(master_, name, sizeof name) != 0)
        ADD_FAILURE() << "no pseudo-terminal";
    path_ = QString::fromLocal8Bit(name);
}

PtyPeer::~PtyPeer()
{
    hangUp();
}

void PtyPeer::send(const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + sent, size_t(bytes.size() - sent));
        if (n <= 0) {
            ADD_FAILURE() << "the peer could not send";
            return;
        }
        sent += n;
    }
}

QByteArray PtyPeer::receive(qsizetype count, std::chrono::milliseconds wait)
{
    QByteArray bytes;
    const auto end = std::chrono::steady_clock::now() + wait;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd readable = {master_, POLLIN, 0};
        if (::poll(&readable, 1, int(std::max<int64_t>(left.count(), 0))) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, size_t(std::min<qsizetype>(count - bytes.size(), 4096)));
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

bool PtyPeer::hasInput(std::chrono::milliseconds wait)
{
    pollfd readable = {master_, POLLIN, 0};
    return ::poll(&readable, 1, int(wait.count())) > 0 && (readable.revents & POLLIN) != 0;
}

void PtyPeer::hangUp()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}
