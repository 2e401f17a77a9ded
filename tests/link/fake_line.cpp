#include "tests/link/fake_line.h"

#include <algorithm>
#include <cstring>

OpenResult FakeLine::open(const QString &)
{
    open_ = true;
    return {OpenStatus::Opened, {}};
}

bool FakeLine::getSettings(LineSettings &settings)
{
    settings.baudRate = 115200;
    return open_;
}

bool FakeLine::purge(PurgeQueue queue)
{
    if (!open_)
        return false;
    if (queue == PurgeQueue::Receive) {
        replies.clear();
        ++receivePurges;
    }
    return true;
}

int64_t FakeLine::read(std::span<char> buffer)
{
    if (!open_)
        return 0;
    const qsizetype n = std::min(qsizetype(buffer.size()), replies.size());
    std::memcpy(buffer.data(), replies.constData(), size_t(n));
    replies.remove(0, n);
    return n;
}

bool FakeLine::write(std::span<const char> bytes)
{
    if (!open_)
        return false;
    writes.emplace_back(bytes.data(), qsizetype(bytes.size()));
    return true;
}

QByteArray FakeLine::written() const
{
    QByteArray all;
    for (const QByteArray &bytes : writes)
        all += bytes;
    return all;
}
