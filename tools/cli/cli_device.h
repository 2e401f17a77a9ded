#pragma once

#include "link/device_detection.h"
#include "link/serial_line.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The device path of a port given as a name from `ports` (ttyUSB0) or as a path.
QString portPathOfArgument(const QString &port);

// Asks the device who it is every two seconds, as the window's presence
// poll does (in automatic mode alternating the speed), until an answer is
// recognised or timeoutSeconds have passed. Each tick is reported on stderr.
std::optional<Detection> pollForDevice(SerialLine &line, DeviceProfile &profile, bool automatic,
                                       double timeoutSeconds);

// The bytes as text, with line ends and other control bytes made visible.
QString visibleBytes(const QByteArray &bytes);

// The line speed of the open port; 0 when it cannot be read.
int32_t currentLineSpeed(SerialLine &line);
