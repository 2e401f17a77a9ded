#pragma once

#include <cstdint>
#include <optional>

#include <termios.h>

// Line speeds in baud and the codes termios gives them.
std::optional<speed_t> speedCodeOf(int32_t baudRate);
// 0 for a code of a speed the program does not use.
int32_t baudRateOf(speed_t code);
