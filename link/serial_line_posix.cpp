// The serial line on POSIX terminals: real serial devices and pseudo-terminals.
#include "link/serial_line.h"

#include "link/port_access.h"
#include "link/termios_speed.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <system_error>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::optional<tcflag_t> byteSizeFlagOf(int byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return std::nullopt;
    }
}

int byteSizeOf(tcflag_t flags)
{
    switch (flags & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

OpenResult openResultOf(int error)
{
    switch (error) {
    case EBUSY:
        return {OpenStatus::InUse, {}};
    case EACCES:
    case EPERM:
        return {OpenStatus::NoPermission, {}};
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return {OpenStatus::Missing, {}};
    case ENOTTY:
        return {OpenStatus::Failed, QStringLiteral("это не последовательный порт")};
    default:
        return {OpenStatus::Failed,
                QString::fromStdString(std::generic_category().message(error))};
    }
}

// A refused open; when rights are lacking, the reason says how to get them.
OpenResult refusedOpen(int error, const QString &path)
{
    OpenResult result = openResultOf(error);
    if (result.status == OpenStatus::NoPermission)
        result.detail = noAccessAdvice(portAccessOf(path));
    return result;
}

// The moment by which a blocking call gives up, if it ever does.
class Deadline
{
public:
    // multiplier x bytes + constant milliseconds from now; none for two zeros.
    static Deadline after(int multiplierMs, int constantMs, size_t bytes)
    {
        Deadline deadline;
        if (multiplierMs == 0 && constantMs == 0)
            return deadline;
        // The bytes' share is capped at some 25 days, well inside the clock's range.
        constexpr int64_t kLongestMs = std::numeric_limits<int32_t>::max();
        const size_t counted = multiplierMs == 0
                                   ? 0
                                   : std::min(bytes, size_t(kLongestMs / multiplierMs));
        deadline.at_ = Clock::now()
                       + std::chrono::milliseconds(int64_t(counted) * multiplierMs + constantMs);
        return deadline;
    }

    bool passed() const { return at_ && Clock::now() >= *at_; }

    // What poll() takes: -1 to wait without end, else the milliseconds left,
    // rounded up so that a wait never ends before the deadline.
    int pollTimeoutMs() const
    {
        if (!at_)
            return -1;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*at_ - Clock::now());
        return left.count() <= 0 ? 0 : int(std::min<int64_t>(left.count(), 1 << 30));
    }

private:
    std::optional<Clock::time_point> at_;
};

// Raw bytes both ways, 8 data bits, receiver on, modem lines and flow control
// ignored; the speed stays as the port reported it.
void makeRaw(termios &tio)
{
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~tcflag_t(CRTSCTS);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

bool setNonBlockingCloseOnExec(int fd)
{
    const int status = fcntl(fd, F_GETFL);
    const int descriptor = fcntl(fd, F_GETFD);
    return status >= 0 && descriptor >= 0 && fcntl(fd, F_SETFL, status | O_NONBLOCK) == 0
           && fcntl(fd, F_SETFD, descriptor | FD_CLOEXEC) == 0;
}

// The descriptor stays non-blocking: every wait is a poll() on it and on a
// wake-up pipe, so a read keeps its deadline and close() can end any wait.
class PosixSerialLine final : public SerialLine
{
public:
    PosixSerialLine()
    {
        int fds[2];
        if (pipe(fds) != 0) {
            wakeError_ = errno;
            return;
        }
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
        if (!setNonBlockingCloseOnExec(wakeRead_) || !setNonBlockingCloseOnExec(wakeWrite_))
            wakeError_ = errno;
    }

    ~PosixSerialLine() override
    {
        close();
        if (wakeRead_ >= 0)
            ::close(wakeRead_);
        if (wakeWrite_ >= 0)
            ::close(wakeWrite_);
    }

    PosixSerialLine(const PosixSerialLine &) = delete;
    PosixSerialLine &operator=(const PosixSerialLine &) = delete;

    OpenResult open(const QString &path) override
    {
        close();
        std::unique_lock lock(lifetime_);
        if (wakeError_ != 0)
            return openResultOf(wakeError_);
        // Non-blocking, so that a port whose carrier is down opens at once.
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return refusedOpen(errno, path);
        termios tio;
        if (tcgetattr(fd, &tio) != 0)
            return closedWith(fd, errno);
        // TIOCEXCL keeps other programs out, but not root; the lock keeps out
        // every program that locks as well, root included.
        if (flock(fd, LOCK_EX | LOCK_NB) != 0)
            return closedWith(fd, errno == EWOULDBLOCK ? EBUSY : errno);
        ioctl(fd, TIOCEXCL);
        makeRaw(tio);
        if (tcsetattr(fd, TCSANOW, &tio) != 0) {
            ioctl(fd, TIOCNXCL);
            return closedWith(fd, errno);
        }
        drainWakeUps();
        timeouts_ = {};
        fd_ = fd;
        return {OpenStatus::Opened, {}};
    }

    bool isOpen() const override
    {
        std::shared_lock lock(lifetime_);
        return fd_ >= 0;
    }

    void close() override
    {
        closing_ = true;
        wakeWaiters();
        std::unique_lock lock(lifetime_);
        if (fd_ >= 0) {
            // The exclusive flag outlives us while another process still
            // holds the terminal (a simulator keeps its side open).
            ioctl(fd_, TIOCNXCL);
            ::close(fd_);
            fd_ = -1;
        }
        drainWakeUps();
        closing_ = false;
    }

    bool getSettings(LineSettings &settings) override
    {
        std::shared_lock lock(lifetime_);
        termios tio;
        if (fd_ < 0 || tcgetattr(fd_, &tio) != 0)
            return false;
        settings.baudRate = baudRateOf(cfgetospeed(&tio));
        settings.byteSize = byteSizeOf(tio.c_cflag);
        settings.parity = (tio.c_cflag & PARENB) != 0;
        settings.stopBits = (tio.c_cflag & CSTOPB) != 0 ? 2 : 1;
        return true;
    }

    // parity true means even parity.
    bool setSettings(const LineSettings &settings) override
    {
        const std::optional<speed_t> speed = speedCodeOf(settings.baudRate);
        const std::optional<tcflag_t> size = byteSizeFlagOf(settings.byteSize);
        if (!speed || !size || (settings.stopBits != 1 && settings.stopBits != 2))
            return false;
        std::shared_lock lock(lifetime_);
        termios before;
        if (fd_ < 0 || tcgetattr(fd_, &before) != 0)
            return false;
        termios tio = before;
        tio.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB);
        tio.c_cflag |= *size;
        if (settings.parity)
            tio.c_cflag |= PARENB;
        if (settings.stopBits == 2)
            tio.c_cflag |= CSTOPB;
        cfsetispeed(&tio, *speed);
        cfsetospeed(&tio, *speed);
        // tcsetattr() succeeds when any part was taken; a port that refused
        // the speed is put back as it was.
        termios after;
        if (tcsetattr(fd_, TCSANOW, &tio) == 0 && tcgetattr(fd_, &after) == 0
            && cfgetospeed(&after) == *speed && (after.c_cflag & CSIZE) == *size)
            return true;
        tcsetattr(fd_, TCSANOW, &before);
        return false;
    }

    bool setTimeouts(const LineTimeouts &timeouts) override
    {
        if (timeouts.readMultiplierMs < 0 || timeouts.readConstantMs < 0
            || timeouts.writeMultiplierMs < 0 || timeouts.writeConstantMs < 0)
            return false;
        std::shared_lock lock(lifetime_);
        if (fd_ < 0)
            return false;
        std::lock_guard guard(timeoutsMutex_);
        timeouts_ = timeouts;
        return true;
    }

    // The terminal layer's queues have a fixed size; a request is only checked.
    bool setQueueSizes(int inputBytes, int outputBytes) override
    {
        return inputBytes > 0 && outputBytes > 0 && isOpen();
    }

    bool purge(PurgeQueue queue) override
    {
        std::shared_lock lock(lifetime_);
        return fd_ >= 0 && tcflush(fd_, queue == PurgeQueue::Receive ? TCIFLUSH : TCOFLUSH) == 0;
    }

    int64_t read(std::span<char> buffer) override
    {
        if (closing_)
            return 0;
        std::shared_lock lock(lifetime_);
        if (fd_ < 0 || buffer.empty())
            return 0;
        std::lock_guard reading(readMutex_);
        const LineTimeouts timeouts = currentTimeouts();
        const Deadline deadline = Deadline::after(timeouts.readMultiplierMs,
                                                  timeouts.readConstantMs, buffer.size());
        size_t got = 0;
        while (got < buffer.size() && waitFor(POLLIN, deadline) == Wait::Ready) {
            const ssize_t n = ::read(fd_, buffer.data() + got, buffer.size() - got);
            if (n > 0) {
                got += size_t(n);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // Readable yet nothing came: the other end has hung up. Nothing
                // more will arrive, and a caller that reads in a loop must not
                // spin, so the call takes its time as if waiting.
                sleepUntil(deadline);
                break;
            }
        }
        return int64_t(got);
    }

    bool write(std::span<const char> bytes) override
    {
        if (closing_)
            return false;
        std::shared_lock lock(lifetime_);
        if (fd_ < 0)
            return false;
        std::lock_guard writing(writeMutex_);
        const LineTimeouts timeouts = currentTimeouts();
        const Deadline deadline = Deadline::after(timeouts.writeMultiplierMs,
                                                  timeouts.writeConstantMs, bytes.size());
        size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + sent, bytes.size() - sent);
            if (n > 0)
                sent += size_t(n);
            else if (n < 0 && errno == EINTR)
                continue;
            else if (n < 0 && errno == EAGAIN && waitFor(POLLOUT, deadline) == Wait::Ready)
                continue;
            else
                return false;
        }
        return true;
    }

private:
    enum class Wait { Ready, TimedOut, Woken };

    // Waits until the port is ready for events (or has hung up), the
    // deadline passes, or close() wakes the line; a failing poll() ends the
    // wait as a wake-up does.
    Wait waitFor(short events, const Deadline &deadline) const
    {
        pollfd fds[] = {{fd_, events, 0}, {wakeRead_, POLLIN, 0}};
        for (;;) {
            const int ready = ::poll(fds, 2, deadline.pollTimeoutMs());
            if (ready < 0 && errno != EINTR)
                return Wait::Woken;
            if (fds[1].revents != 0)
                return Wait::Woken;
            if (fds[0].revents != 0)
                return Wait::Ready;
            if (deadline.passed())
                return Wait::TimedOut;
        }
    }

    void sleepUntil(const Deadline &deadline) const
    {
        pollfd wake = {wakeRead_, POLLIN, 0};
        while (!deadline.passed()) {
            const int ready = ::poll(&wake, 1, deadline.pollTimeoutMs());
            if (ready > 0 || (ready < 0 && errno != EINTR))
                return;
        }
    }

    void wakeWaiters()
    {
        if (wakeWrite_ >= 0) {
            const char byte = 1;
            [[maybe_unused]] const ssize_t written = ::write(wakeWrite_, &byte, 1);
        }
    }

    void drainWakeUps()
    {
        char bytes[64];
        while (wakeRead_ >= 0 && ::read(wakeRead_, bytes, sizeof bytes) > 0) {
        }
    }

    OpenResult closedWith(int fd, int error)
    {
        ::close(fd);
        return openResultOf(error);
    }

    LineTimeouts currentTimeouts()
    {
        std::lock_guard guard(timeoutsMutex_);
        return timeouts_;
    }

    // Shared by every call that uses fd_, exclusive while fd_ changes.
    mutable std::shared_mutex lifetime_;
    std::mutex readMutex_;
    std::mutex writeMutex_;
    std::mutex timeoutsMutex_;
    // Set while close() waits for the calls under way, so that no new one
    // starts and keeps it waiting.
    std::atomic<bool> closing_{false};
    int fd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    int wakeError_ = 0;
    LineTimeouts timeouts_;
};

} // namespace

std::unique_ptr<SerialLine> makeSerialLine()
{
    return std::make_unique<PosixSerialLine>();
}
