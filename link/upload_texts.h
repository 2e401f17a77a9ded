#pragma once

#include <QString>

// The upload's words, the same in the window and on the command line.
QString deviceNotReadyText();
QString uploadCompletedText();
QString uploadCancelledText();
// "Залито 42 %".
QString uploadedText(int percent);
// The watchdog's failure: the device never answered, or it stopped.
QString watchdogFailureText(bool packetSent);
