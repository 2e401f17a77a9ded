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

int pollTimeoutMs(const std::optional<Clock::time_point> &stopTime)
{
    if (!stopTime)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*stopTime - Clock::now());
    return int(std::clamp<int64_t>(left.count(), 0, 1 << 30));
}

// Answers what the program sends until the time is up or a signal ends it.
int serve(PseudoTerminal &terminal, SimulatedDevice &device, const sigset_t &waitMask)
{
    const std::optional<Clock::time_point> stopTime = stopTimeOf(device.options());
    char buffer[4096];
    while (!stopRequested && !(stopTime && Clock::now() >= *stopTime)) {
        pollfd readable = {terminal.deviceFd(), POLLIN, 0};
        const int timeoutMs = pollTimeoutMs(stopTime);
        const timespec timeout = {timeoutMs / 1000, (timeoutMs % 1000) * 1000000L};
        if (ppoll(&readable, 1, timeoutMs < 0 ? nullptr : &timeout, &waitMask) <= 0)
            continue;
        const ssize_t n = ::read(terminal.deviceFd(), buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        const QByteArray answer = n > 0 ? device.receive({buffer, n}, terminal.lineSpeed())
                                        : QByteArray();
        if (n <= 0 || !writeAll(terminal.deviceFd(), answer)) {
            std::fputs("soundloader-sim: терминал закрыт\n", stderr);
            return 1;
        }
    }
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
