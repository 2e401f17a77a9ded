// soundloader-sim: the device on a pseudo-terminal, for trying the program
// and for tests. Its first line of output is the terminal's path.
#include "tools/sim/pseudo_terminal.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/simulated_device.h"
#include "tools/sim/terminal_link.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

// The signals that end the simulator stay blocked except while it waits, so
// that one arriving between two waits cannot be missed.
sigset_t blockStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
        sigaddset(&stopSignals, signal);
    }
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    return waitMask;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t n = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (n > 0) {
            bytes = bytes.sliced(n);
            continue;
        }
        pollfd writable = {fd, POLLOUT, 0};
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (n < 0 && errno == EAGAIN && ::poll(&writable, 1, -1) < 0 && errno != EINTR)
            return false;
    }
    return true;
}

std::optional<Clock::time_point> stopTimeOf(const SimOptions &options)
{
    if (!options.exitAfterSeconds)
        return std::nullopt;
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(*options.exitAfterSeconds));
}

// How long to wait for the host: until the device has something to send or
// the time is up; without either, until the host writes.
std::optional<timespec> waitFor(std::optional<Clock::time_point> wake,
                                const std::optional<Clock::time_point> &stopTime)
{
    if (!wake || (stopTime && *stopTime < *wake))
        wake = stopTime;
    if (!wake)
        return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(*wake - Clock::now());
    const int64_t ns = std::clamp<int64_t>(left.count(), 0, int64_t{1} << 50);
    return timespec{time_t(ns / 1000000000), long(ns % 1000000000)};
}

// Hands what the host sent to the device; false when the terminal is gone.
bool readFromHost(PseudoTerminal &terminal, SimulatedDevice &device)
{
    char buffer[4096];
    const ssize_t n = ::read(terminal.deviceFd(), buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (n <= 0)
        return false;
    device.receive({buffer, n}, terminal.lineSpeed(), Clock::now());
    return true;
}

// What the host sent before the simulator was told to stop still counts:
// an upload's end may be among it.
void readWhatIsLeft(PseudoTerminal &terminal, SimulatedDevice &device)
{
    pollfd readable = {terminal.deviceFd(), POLLIN, 0};
    while (::poll(&readable, 1, 0) > 0 && (readable.revents & POLLIN) != 0
           && readFromHost(terminal, device)) {
    }
}

// Answers what the program sends until the time is up or a signal ends it.
int serve(PseudoTerminal &terminal, SimulatedDevice &device, const sigset_t &waitMask)
{
    const std::optional<Clock::time_point> stopTime = stopTimeOf(device.options());
    while (!stopRequested && !(stopTime && Clock::now() >= *stopTime)) {
        pollfd readable = {terminal.deviceFd(), POLLIN, 0};
        const std::optional<timespec> timeout = waitFor(device.nextWake(), stopTime);
        const int ready = ppoll(&readable, 1, timeout ? &*timeout : nullptr, &waitMask);
        const bool gone = ready > 0 && !readFromHost(terminal, device);
        if (gone || !writeAll(terminal.deviceFd(), device.takeDue(Clock::now()))) {
            std::fputs("soundloader-sim: терминал закрыт\n", stderr);
            device.stop();
            return 1;
        }
    }
    readWhatIsLeft(terminal, device);
    device.stop();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::puts(kSimUsage);
        return 0;
    }
    QString problem;
    std::optional<SimOptions> options = parseSimOptions(args, problem);
    if (!options) {
        std::fprintf(stderr, "%s\n%s\n", problem.toUtf8().constData(), kSimUsage);
        return 2;
    }
    const sigset_t waitMask = blockStopSignals();
    const std::unique_ptr<PseudoTerminal> terminal = PseudoTerminal::create(problem);
    std::unique_ptr<TerminalLink> link;
    if (terminal && !options->linkPath.isEmpty())
        link = TerminalLink::create(options->linkPath, terminal->path(), problem);
    if (!terminal || (!options->linkPath.isEmpty() && !link)) {
        std::fprintf(stderr, "%s\n", problem.toUtf8().constData());
        return 1;
    }
    std::printf("%s\n", terminal->path().toLocal8Bit().constData());
    std::fflush(stdout);
    SimulatedDevice device(std::move(*options));
    return serve(*terminal, device, waitMask);
}
