// upload_soak: uploads to the simulated device of either model, each with a
// fault drawn at random, and checks that every upload ends once, as its
// fault says it must, with the device holding the image exactly when the
// program reported completion. Prints a table; fails on any mismatch.
#include "tests/link/upload_device.h"
#include "tests/soak/soak_drivers.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <random>

using namespace std::chrono_literals;

namespace {

struct SoakOptions {
    int runs = 500;
    uint64_t seed = 0;
    int windowEvery = 10; // every n-th run goes through the window
    SoakTiming timing{200ms, 60s};
};

SoakOptions parseOptions(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Uploads with faults against soundloader-sim."));
    parser.addHelpOption();
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Uploads to make."), QStringLiteral("n"), QStringLiteral("500"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the draw; random if not given."), QStringLiteral("s"));
    const QCommandLineOption tick(QStringLiteral("tick-ms"), QStringLiteral("Time between watchdog ticks."), QStringLiteral("ms"), QStringLiteral("200"));
    const QCommandLineOption window(QStringLiteral("window-every"), QStringLiteral("Every n-th upload through the window (0: none)."), QStringLiteral("n"), QStringLiteral("10"));
    parser.addOptions({runs, seed, tick, window});
    parser.process(app);

    SoakOptions options;
    options.runs = parser.value(runs).toInt();
    options.seed = parser.isSet(seed) ? parser.value(seed).toULongLong() : std::random_device()();
    options.windowEvery = parser.value(window).toInt();
    options.timing.tick = std::chrono::milliseconds(std::max(50, parser.value(tick).toInt()));
    return options;
}

QString writeImage(const QTemporaryDir &dir, qsizetype size)
{
    const QString path = dir.filePath(QStringLiteral("image.bkr"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(imageBytes(size)) != size)
        return {};
    return path;
}

// What is wrong with a run, empty when nothing is.
QString checkRun(const SoakRun &run, const RunResult &result, const UploadDevice &device,
                 const QByteArray &image)
{
    if (!result.problem.isEmpty())
        return result.problem;
    QStringList wrong;
    if (result.outcome != run.expected())
        wrong << QStringLiteral("ended as \"%1\", expected \"%2\"")
                     .arg(outcomeName(result.outcome), outcomeName(run.expected()));
    if (result.ends > 1)
        wrong << QStringLiteral("ended %1 times").arg(result.ends);
    if (result.threadLeft)
        wrong << QStringLiteral("an upload worker was left running");
    if (!result.idleAfter)
        wrong << QStringLiteral("the window's controls did not return to idle");
    const QJsonObject report = device.report();
    const bool deviceCompleted = report[QStringLiteral("completed")].toBool();
    if (result.outcome == Outcome::Completed) {
        if (!deviceCompleted)
            wrong << QStringLiteral("the device did not complete the upload");
        if (device.received() != paddedToBlocks(image, fixedProfile(run.model).blockSize))
            wrong << QStringLiteral("the device holds other bytes than the image");
    } else if (deviceCompleted) {
        wrong << QStringLiteral("the device completed an upload the program reported failed");
    }
    if (result.outcome == Outcome::Cancelled && !report[QStringLiteral("cancelled")].toBool())
        wrong << QStringLiteral("the device did not cancel");
    return wrong.join(QStringLiteral("; "));
}

struct Tally {
    std::map<Outcome, int> outcomes;
    std::map<Fault, std::map<Outcome, int>> byFault;
    int throughWindow = 0;
    int mismatches = 0;
};

void printTable(const Tally &tally, int runs, uint64_t seed, double seconds)
{
    std::printf("\nseed %llu, %d runs in %.0f s\n", static_cast<unsigned long long>(seed), runs, seconds);
    const Outcome columns[] = {Outcome::Completed, Outcome::Cancelled, Outcome::TransferFailure,
                               Outcome::DeviceOff, Outcome::FileFailure, Outcome::Hung};
    std::printf("%-18s %6s", "fault", "runs");
    for (const Outcome outcome : columns)
        std::printf(" | %s", qPrintable(outcomeName(outcome)));
    std::printf("\n");
    for (const auto &[fault, outcomes] : tally.byFault) {
        int total = 0;
        for (const auto &entry : outcomes)
            total += entry.second;
        std::printf("%-18s %6d", qPrintable(faultName(fault)), total);
        for (const Outcome outcome : columns) {
            const auto found = outcomes.find(outcome);
            std::printf(" | %*d", int(outcomeName(outcome).size()), found == outcomes.end() ? 0 : found->second);
        }
        std::printf("\n");
    }
    std::printf("%-18s %6d", "all", runs);
    for (const Outcome outcome : columns) {
        const auto found = tally.outcomes.find(outcome);
        std::printf(" | %*d", int(outcomeName(outcome).size()), found == tally.outcomes.end() ? 0 : found->second);
    }
    std::printf("\nthrough the window: %d\nmismatches: %d\n", tally.throughWindow, tally.mismatches);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const SoakOptions options = parseOptions(app);
    std::printf("upload soak: %d runs, seed %llu (--seed repeats it)\n", options.runs,
                static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);

    SoakPlan plan(options.seed, options.timing.tick, options.windowEvery);
    Tally tally;
    QElapsedTimer clock;
    clock.start();
    for (int index = 0; index < options.runs; ++index) {
        const SoakRun run = plan.draw(index);
        QTemporaryDir dir;
        const QString imagePath = writeImage(dir, run.imageSize);
        UploadDevice device(run.model, run.simulatorArgs());
        RunResult result;
        if (imagePath.isEmpty() || device.path().isEmpty())
            result.problem = QStringLiteral("the image or the simulated device could not be made");
        else if (run.throughWindow)
            result = uploadThroughWindow(run, device.path(), imagePath, options.timing);
        else
            result = uploadThroughSession(run, device.path(), imagePath, options.timing);
        device.stop();

        const QString wrong = checkRun(run, result, device, imageBytes(run.imageSize));
        ++tally.outcomes[result.outcome];
        ++tally.byFault[run.fault][result.outcome];
        tally.throughWindow += run.throughWindow ? 1 : 0;
        if (!wrong.isEmpty()) {
            ++tally.mismatches;
            std::printf("run %d (%s): %s\n", index, qPrintable(run.describe()), qPrintable(wrong));
            std::fflush(stdout);
        }
    }
    printTable(tally, options.runs, options.seed, clock.elapsed() / 1000.0);
    return tally.mismatches == 0 ? 0 : 1;
}
