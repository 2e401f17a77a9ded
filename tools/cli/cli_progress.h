#pragma once

#include "link/upload_events.h"

#include <QElapsedTimer>

#include <optional>

// Shows an upload's progress on stdout: on a terminal a bar redrawn in
// place with the percentage, the speed and the time left; otherwise a line
// "Залито N %" whenever the percentage changes.
class UploadProgressView
{
public:
    UploadProgressView();

    void show(UploadProgress progress);
    // Ends the bar's line, so that what follows starts on a line of its own.
    void finish();

private:
    void drawBar(UploadProgress progress);

    const bool terminal_;
    int shownPercent_ = -1;
    bool barDrawn_ = false;
    QElapsedTimer clock_;
    int64_t firstSent_ = 0; // what the first packet carried: the speed counts from it
    int64_t drawnAtNs_ = 0;
};
