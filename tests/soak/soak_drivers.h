#pragma once

#include "tests/soak/soak_run.h"

#include <chrono>

// What the program did in one run.
struct RunResult {
    Outcome outcome = Outcome::Hung; // the first end it reported
    int ends = 0;                    // ends it reported: exactly one is right
    bool threadLeft = false;         // a worker still ran once the upload was let go
    bool idleAfter = true;           // the window's controls came back to idle
    QString problem;                 // why the upload did not even start
};

struct SoakTiming {
    std::chrono::milliseconds tick;     // between watchdog ticks
    std::chrono::milliseconds deadline; // for the whole upload
};

// Uploads the image at imagePath to the device at devicePath as the command
// line does: an upload session whose watchdog the soak ticks.
RunResult uploadThroughSession(const SoakRun &run, const QString &devicePath,
                               const QString &imagePath, SoakTiming timing);

// The same through a main window: the port picked, the device recognised by
// the presence poll, "Залить образ" confirmed, the watchdog's timer ticked.
RunResult uploadThroughWindow(const SoakRun &run, const QString &devicePath,
                              const QString &imagePath, SoakTiming timing);
