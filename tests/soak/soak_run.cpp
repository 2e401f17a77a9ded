#include "tests/soak/soak_run.h"

namespace {

constexpr Fault kFaults[] = {Fault::None,        Fault::NakEvery,    Fault::LostAck,
                             Fault::CancelAt,    Fault::SilentAfter, Fault::SlowReplies,
                             Fault::TooSlowReplies};
// Chances out of 100, in the order of kFaults.
constexpr int kFaultWeights[] = {16, 16, 15, 15, 16, 14, 8};

// Slow answers make every packet take ticks: those runs stay short.
constexpr int kMostSlowPackets = 6;
constexpr qsizetype kLargestImage = 300 * 1024;

} // namespace

QString outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Completed: return QStringLiteral("completed");
    case Outcome::Cancelled: return QStringLiteral("cancelled by the device");
    case Outcome::DeviceOff: return QStringLiteral("watchdog, device off");
    case Outcome::TransferFailure: return QStringLiteral("watchdog, transfer failure");
    case Outcome::FileFailure: return QStringLiteral("file not read");
    case Outcome::Hung: return QStringLiteral("hung");
    }
    return {};
}

QString faultName(Fault fault)
{
    switch (fault) {
    case Fault::None: return QStringLiteral("none");
    case Fault::NakEvery: return QStringLiteral("nak-every");
    case Fault::LostAck: return QStringLiteral("lost-ack");
    case Fault::CancelAt: return QStringLiteral("can-at");
    case Fault::SilentAfter: return QStringLiteral("silent-after");
    case Fault::SlowReplies: return QStringLiteral("slow-replies");
    case Fault::TooSlowReplies: return QStringLiteral("too-slow-replies");
    }
    return {};
}

int SoakRun::packets() const
{
    const int blockSize = fixedProfile(model).blockSize;
    return int((imageSize + blockSize - 1) / blockSize);
}

QStringList SoakRun::simulatorArgs() const
{
    QStringList args;
    const QString k = QString::number(at);
    switch (fault) {
    case Fault::None: break;
    case Fault::NakEvery: args << "--nak-every" << k; break;
    case Fault::LostAck: args << "--drop-ack" << k; break;
    case Fault::CancelAt: args << "--can-at" << k; break;
    case Fault::SilentAfter: args << "--silent-after" << k; break;
    case Fault::SlowReplies:
    case Fault::TooSlowReplies: args << "--ack-delay-ms" << QString::number(replyDelayMs); break;
    }
    if (strayBytes)
        args << "--stray-bytes";
    return args;
}

// Packets count from 1 as they arrive. The short-block device asks for its
// first packet; the page-block one takes packet 0 from the start step, or
// the end of transmission at once when the image is empty. The end of
// transmission is never waited on: the upload completes as it goes out.
Outcome SoakRun::expected() const
{
    const int total = packets();
    const bool stuck = [&] {
        switch (fault) {
        case Fault::None:
        case Fault::SlowReplies: return false;
        case Fault::NakEvery: return at == 1 && total > 0;
        case Fault::LostAck:
        case Fault::CancelAt: return at <= total;
        case Fault::SilentAfter: return at < total || (at == 0 && model == DeviceModel::Records32);
        case Fault::TooSlowReplies: return total > 0;
        }
        return false;
    }();
    if (!stuck)
        return Outcome::Completed;
    if (fault == Fault::CancelAt)
        return Outcome::Cancelled;
    // Only silence from the start keeps the short-block device's request away.
    const bool anyPacketOut = !(fault == Fault::SilentAfter && at == 0 && model == DeviceModel::Records32);
    return anyPacketOut ? Outcome::TransferFailure : Outcome::DeviceOff;
}

QString SoakRun::describe() const
{
    return QStringLiteral("model %1, %2 bytes, %3 [%4]%5")
        .arg(model == DeviceModel::Records32 ? 32 : 99)
        .arg(imageSize)
        .arg(faultName(fault), simulatorArgs().join(' '),
             throughWindow ? QStringLiteral(", through the window") : QString());
}

SoakPlan::SoakPlan(uint64_t seed, std::chrono::milliseconds tick, int windowEvery)
    : random_(seed), tickMs_(int(tick.count())), windowEvery_(windowEvery)
{
}

SoakRun SoakPlan::draw(int index)
{
    SoakRun run;
    run.model = uniform(0, 1) == 0 ? DeviceModel::Records32 : DeviceModel::Records99;
    std::discrete_distribution<int> faultChoice(std::begin(kFaultWeights), std::end(kFaultWeights));
    run.fault = kFaults[faultChoice(random_)];
    run.imageSize = drawSize(run.model, run.fault);
    const int total = run.packets();
    switch (run.fault) {
    case Fault::None: break;
    case Fault::NakEvery: run.at = uniform(1, 4); break;
    case Fault::LostAck:
    case Fault::CancelAt: run.at = uniform(1, total + 1); break;
    case Fault::SilentAfter: run.at = uniform(0, total); break;
    // Answers arrive two ticks late at most, two clear ticks short of the
    // watchdog's earliest failure; or a good seven ticks late.
    case Fault::SlowReplies: run.replyDelayMs = uniform(tickMs_, 2 * tickMs_); break;
    case Fault::TooSlowReplies: run.replyDelayMs = 7 * tickMs_; break;
    }
    run.strayBytes = uniform(0, 3) == 0;
    run.throughWindow = windowEvery_ > 0 && index % windowEvery_ == 0;
    return run;
}

// Empty images, images of a few packets (where the faults' positions fall
// near the ends) and large ones up to a few hundred kB.
qsizetype SoakPlan::drawSize(DeviceModel model, Fault fault)
{
    const int blockSize = fixedProfile(model).blockSize;
    if (fault == Fault::SlowReplies || fault == Fault::TooSlowReplies)
        return uniform(0, kMostSlowPackets * blockSize);
    switch (uniform(0, 9)) {
    case 0: return 0;
    case 1:
    case 2:
    case 3: return uniform(1, 8 * blockSize);
    default: return uniform(1, int(kLargestImage));
    }
}

int SoakPlan::uniform(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random_);
}
