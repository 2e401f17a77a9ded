// Handlers of the upload: starting it, the watchdog and its ends.
#include "app/tfmain.h"

#include "link/posted_upload_events.h"
#include "link/upload_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

// The progress bar counts in int: a file beyond its range is shown in
// coarser units.
int barUnits(int64_t bytes, int64_t length)
{
    int shift = 0;
    while ((length >> shift) > std::numeric_limits<int>::max())
        ++shift;
    return int(bytes >> shift);
}

} // namespace

void TFmain::createUploadComponents()
{
    OD_bin.filter = QStringLiteral("*.bin; *.bkr (*.bin *.bkr)");
    // The home folder stands in for the root of the system drive.
    OD_bin.folder = QDir::homePath();
    uploadEvents_ = std::make_unique<PostedUploadEvents>(
        *this, UploadHandlers{[this](UploadProgress progress) { showUploadProgress(progress); },
                              [this] { uploadCompleted(); },
                              [this] { uploadCancelled(); },
                              [this](const QString &problem) {
                                  uploadFailed(problem, Prompts::Icon::Error);
                              }});
}

void TFmain::B_recClick()
{
    StopPreview();
    const QString path = tempDir_ + QStringLiteral("romsound.bkr");
    // The image is built before the device is asked for, so a refused
    // upload still leaves it there.
    if (BuildTableImage(path))
        guarded([&] { StartUpload(path); });
}

void TFmain::B_binClick()
{
    StopPreview();
    const QString path = prompts_.openFile(OD_bin);
    if (!path.isEmpty())
        guarded([&] { StartUpload(path); });
}

// A file that cannot be opened, or packets the device profile cannot
// carry, end the start here with a message; nothing is sent.
void TFmain::StartUpload(const QString &path)
{
    const QString caption = QStringLiteral("Ошибка");
    if (deviceState_ == 0) {
        prompts_.message({deviceNotReadyText(), caption, Prompts::Icon::Error});
        return;
    }
    if (const QString problem = blockSizeProblem(profile_.blockSize); !problem.isEmpty()) {
        prompts_.message({problem, caption, Prompts::Icon::Error});
        return;
    }
    const Prompts::Message confirmation{QStringLiteral("Подтвердите заливку"), QStringLiteral("Ожидание"),
                                        Prompts::Icon::Information, Prompts::Buttons::OkCancel,
                                        Prompts::Answer::Cancel};
    if (prompts_.message(confirmation) != Prompts::Answer::Ok)
        return;

    releaseWorker();
    std::unique_ptr<QIODevice> file = openUploadFile(path);
    const int64_t length = file->size();
    upload_ = std::make_unique<UploadSession>(*port_, profile_, std::move(file), *uploadEvents_);

    StaticT1->show();
    StaticT2->show();
    StaticT2->setText(QStringLiteral("Заливка"));
    // An empty file keeps a range: 0 to 0 would turn the bar into a busy indicator.
    progressb1->setRange(0, std::max(1, barUnits(length, length)));
    progressb1->setValue(0);
    SetTransferState();
    // The countdown to the watchdog's failure shows until the first packet is out.
    ST_wait->setText(QString::number(upload_->ticksLeft()));
    ST_wait->show();
    Timer2->stop();
    Timer1->start();
}

void TFmain::Timer1Timer()
{
    if (!upload_)
        return;
    const WatchdogStep step = upload_->tick();
    if (step == WatchdogStep::Over)
        return; // its end is on its way
    ST_wait->setText(QString::number(upload_->ticksLeft()));
    if (progressb1->value() != 0)
        ST_wait->hide();
    if (step == WatchdogStep::Failed)
        uploadFailed(upload_->failureText(), Prompts::Icon::Warning);
}

void TFmain::showUploadProgress(UploadProgress progress)
{
    progressb1->setValue(barUnits(progress.sent, progress.length));
    Connection->setText(uploadedText(progress.percent()));
}

// The port stays open; the label keeps the last percentage until the next
// presence poll.
void TFmain::uploadCompleted()
{
    hideUploadStatus();
    Timer1->stop();
    prompts_.message({uploadCompletedText(), QStringLiteral("Сообщение"), Prompts::Icon::Information});
    SetIdleState();
    progressb1->setValue(0);
    Timer2->start();
}

// The device closed the port with its cancel: the presence poll now reads
// nothing, empties the label and forgets the device.
void TFmain::uploadCancelled()
{
    hideUploadStatus();
    Timer1->stop();
    prompts_.message({uploadCancelledText(), QStringLiteral("Ошибка"), Prompts::Icon::Error});
    SetIdleState();
    Timer2->start();
}

// The watchdog gave up, or the file could not be read; the port stays open.
void TFmain::uploadFailed(const QString &text, Prompts::Icon icon)
{
    Timer1->stop();
    releaseWorker();
    // What the worker handed over before it ended is shown before the idle state.
    uploadEvents_->deliverQueued();
    prompts_.message({text, QStringLiteral("Ошибка"), icon});
    hideUploadStatus();
    SetIdleState();
    Timer2->start();
}

void TFmain::hideUploadStatus()
{
    StaticT1->hide();
    StaticT2->hide();
    ST_wait->hide();
}

// Waits for the worker of the last upload to end and frees it with the
// rest of that upload; a step under way ends within a read time-out.
void TFmain::releaseWorker()
{
    upload_.reset();
}
