#include "link/termios_speed.h"

namespace {

struct Speed {
    int32_t baudRate;
    speed_t code;
};

constexpr Speed kSpeeds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},    {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

} // namespace

std::optional<speed_t> speedCodeOf(int32_t baudRate)
{
    for (const Speed &speed : kSpeeds)
        if (speed.baudRate == baudRate)
            return speed.code;
    return std::nullopt;
}

int32_t baudRateOf(speed_t code)
{
    for (const Speed &speed : kSpeeds)
        if (speed.code == code)
            return speed.baudRate;
    return 0;
}
