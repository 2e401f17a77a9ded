#pragma once

#include "link/serial_line.h"

#include <QString>

#include <cstdint>

// Time-outs of an open port: a read of n bytes waits at most 5 x n + 10 ms
// (15 ms for one byte, 405 ms for an answer of 79); writes wait until every
// byte is handed over.
inline constexpr LineTimeouts kPortTimeouts{5, 10, 0, 0};
inline constexpr int kPortQueueBytes = 2000;

// Opens the port at path for the device link: 8 data bits, no parity, one
// stop bit at baudRate, the port's time-outs and queues, both directions
// purged. A failure of anything after the open itself is ignored: the
// exchange that follows finds out whether the line works.
OpenResult openPort(SerialLine &line, const QString &path, int32_t baudRate);
