#include "tests/soak/soak_drivers.h"

#include "app/port_selector.h"
#include "app/tfmain.h"
#include "link/port_opening.h"
#include "link/posted_upload_events.h"
#include "link/upload_session.h"
#include "link/upload_texts.h"
#include "tests/support/window_fixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Ticks the soak goes on with after an end, to see that nothing else ends.
constexpr int kTicksAfterTheEnd = 2;

// Upload workers still running: threads the system knows by their name.
int runningWorkers()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    int workers = 0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "TComThread")
            ++workers;
    }
    return workers;
}

Outcome outcomeOfText(const QString &text)
{
    if (text == uploadCompletedText())
        return Outcome::Completed;
    if (text == uploadCancelledText())
        return Outcome::Cancelled;
    if (text == watchdogFailureText(false))
        return Outcome::DeviceOff;
    if (text == watchdogFailureText(true))
        return Outcome::TransferFailure;
    return Outcome::FileFailure;
}

RunResult notStarted(const QString &problem)
{
    RunResult result;
    result.problem = problem;
    return result;
}

void noteEnds(RunResult &result, const std::vector<Outcome> &ends)
{
    result.ends = int(ends.size());
    if (!ends.empty())
        result.outcome = ends.front();
}

} // namespace

RunResult uploadThroughSession(const SoakRun &run, const QString &devicePath,
                               const QString &imagePath, SoakTiming timing)
{
    const std::unique_ptr<SerialLine> line = makeSerialLine();
    if (!openPort(*line, devicePath, lineSpeedOf(run.model)).opened())
        return notStarted(QStringLiteral("the port did not open"));
    std::vector<Outcome> ends;
    QObject receiver;
    PostedUploadEvents events(receiver, {[](UploadProgress) {},
                                         [&] { ends.push_back(Outcome::Completed); },
                                         [&] { ends.push_back(Outcome::Cancelled); },
                                         [&](const QString &) { ends.push_back(Outcome::FileFailure); }});
    {
        UploadSession session(*line, fixedProfile(run.model), openUploadFile(imagePath), events);
        const QDeadlineTimer deadline(timing.deadline);
        for (int ticksAfterTheEnd = 0; ticksAfterTheEnd < kTicksAfterTheEnd && !deadline.hasExpired();) {
            if (session.tick() == WatchdogStep::Failed)
                ends.push_back(outcomeOfText(session.failureText()));
            QTest::qWait(int(timing.tick.count()));
            if (!ends.empty())
                ++ticksAfterTheEnd;
        }
    }
    QCoreApplication::processEvents(); // news the worker posted before it was let go
    RunResult result;
    noteEnds(result, ends);
    result.threadLeft = runningWorkers() > 0;
    return result;
}

RunResult uploadThroughWindow(const SoakRun &run, const QString &devicePath,
                              const QString &imagePath, SoakTiming timing)
{
    ScriptedPrompts prompts;
    auto window = std::make_unique<TFmain>(&prompts);
    if (!connectWindowTo(*window, run.model, devicePath.mid(int(qstrlen("/dev/")))))
        return notStarted(QStringLiteral("the window did not recognise the device"));

    prompts.choices.push_back({imagePath});
    window->B_binClick();
    if (!window->Timer1->isActive())
        return notStarted(QStringLiteral("the window did not start the upload: ")
                          + prompts.messageTexts().join(QStringLiteral("; ")));
    window->Timer1->stop(); // ticked by the soak instead
    const size_t confirmations = prompts.messages.size();
    const QDeadlineTimer deadline(timing.deadline);
    for (int ticksAfterTheEnd = 0; ticksAfterTheEnd < kTicksAfterTheEnd && !deadline.hasExpired();) {
        window->Timer1Timer();
        QTest::qWait(int(timing.tick.count()));
        if (prompts.messages.size() > confirmations)
            ++ticksAfterTheEnd;
    }

    RunResult result;
    std::vector<Outcome> ends;
    for (size_t i = confirmations; i < prompts.messages.size(); ++i)
        ends.push_back(outcomeOfText(prompts.messages[i].text));
    noteEnds(result, ends);
    result.idleAfter = !window->StaticT1->isVisibleTo(window.get()) && !window->StaticT2->isVisibleTo(window.get())
                       && !window->ST_wait->isVisibleTo(window.get()) && window->LoadBinBtn->isEnabled()
                       && window->ComSelect->isEnabled() && window->progressb1->value() == 0
                       && window->Timer2->isActive() && !window->Timer1->isActive();
    window.reset();
    result.threadLeft = runningWorkers() > 0;
    return result;
}
