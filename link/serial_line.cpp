#include "link/serial_line.h"

bool setLineSpeed(SerialLine &line, int32_t baudRate)
{
    LineSettings settings;
    if (!line.getSettings(settings))
        return false;
    settings.baudRate = baudRate;
    return line.setSettings(settings);
}
