#pragma once

#include "core/device_profile.h"
#include "link/serial_line.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// What the 32-record model answers to the identification request.
inline constexpr const char *kModePrompt = "Select mode. T (test) or L (loading) >";

// The identification request: a carriage return.
inline constexpr char kIdentificationRequest = 0x0D;

// The longest answer read; a shorter one takes the whole read time-out.
inline constexpr int kAnswerBytes = 79;

enum class DeviceAnswer {
    None,         // no byte came
    ModePrompt,   // the 32-record model
    VersionLine,  // the 99-record model
    Unrecognised, // something else came
};

struct Detection {
    DeviceAnswer answer = DeviceAnswer::None;
    QByteArray reply; // the bytes the device sent

    // 0: nothing recognised, 1: the mode prompt, 2: the version line. Any
    // value but 0 allows an upload.
    int deviceState() const;
    // The model that answers this way, when the answer was recognised.
    std::optional<DeviceModel> model() const;
};

// Recognises reply and applies it to profile. The reply is text up to its
// first zero byte. The mode prompt counts anywhere in it (case-sensitive);
// otherwise it is read as a version line, whose numbers go into the profile
// as they are read, in manual mode too. In automatic mode a recognised answer
// installs its model's geometry: the 32-record profile for the prompt; for a
// version line the page-block protocol with packets of one page, 5 reserved
// pages and the max volume they leave.
DeviceAnswer interpretAnswer(QByteArrayView reply, DeviceProfile &profile, bool automatic);

// Asks the device on line who it is: purges what was received, sends the
// identification request and reads the answer, which takes up to 405 ms
// with the port's time-outs. Nothing is read when no port is open.
Detection detectDevice(SerialLine &line, DeviceProfile &profile, bool automatic);

// The automatic mode's search for the device's speed: 230400 after 115200,
// 115200 after anything else.
void alternateLineSpeed(SerialLine &line);
