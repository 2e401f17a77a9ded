#include "tools/cli/cli_progress.h"

#include "link/upload_texts.h"
#include "tools/cli/cli_output.h"

#include <cstdio>

#include <unistd.h>

namespace {

constexpr int kBarWidth = 30;
// Between two new percentages the bar is redrawn at most this often.
constexpr int64_t kRedrawNs = 200'000'000;

QString duration(int64_t seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

UploadProgressView::UploadProgressView() : terminal_(isatty(fileno(stdout)) != 0) {}

void UploadProgressView::show(UploadProgress progress)
{
    if (!clock_.isValid()) {
        clock_.start();
        firstSent_ = progress.sent;
    }
    const bool newPercent = progress.percent() != shownPercent_;
    shownPercent_ = progress.percent();
    if (!terminal_) {
        if (newPercent)
            printOut(uploadedText(shownPercent_));
    } else if (newPercent || clock_.nsecsElapsed() - drawnAtNs_ >= kRedrawNs) {
        drawnAtNs_ = clock_.nsecsElapsed();
        drawBar(progress);
    }
}

void UploadProgressView::finish()
{
    if (barDrawn_)
        std::fputc('\n', stdout);
    barDrawn_ = false;
    std::fflush(stdout);
}

void UploadProgressView::drawBar(UploadProgress progress)
{
    const int percent = progress.percent();
    const int filled = percent * kBarWidth / 100;
    QString line = QStringLiteral("\r[%1%2] %3 %")
                       .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'-'))
                       .arg(percent, 3);
    const double seconds = double(clock_.nsecsElapsed()) / 1e9;
    const int64_t counted = progress.sent - firstSent_;
    if (seconds > 0.2 && counted > 0) {
        const double rate = double(counted) / seconds;
        line += QStringLiteral("  %1 КБ/с  осталось %2")
                    .arg(rate / 1024, 0, 'f', 1)
                    .arg(duration(int64_t(double(progress.length - progress.sent) / rate + 0.5)));
    }
    // Blanks wipe what a longer line before left behind.
    std::fputs((line + QStringLiteral("   ")).toUtf8().constData(), stdout);
    std::fflush(stdout);
    barDrawn_ = true;
}
