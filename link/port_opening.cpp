#include "link/port_opening.h"

OpenResult openPort(SerialLine &line, const QString &path, int32_t baudRate)
{
    const OpenResult result = line.open(path);
    if (!result.opened())
        return result;
    LineSettings settings;
    line.getSettings(settings);
    settings.baudRate = baudRate;
    settings.byteSize = 8;
    settings.parity = false;
    settings.stopBits = 1;
    line.setSettings(settings);
    line.setTimeouts(kPortTimeouts);
    line.setQueueSizes(kPortQueueBytes, kPortQueueBytes);
    line.purge(PurgeQueue::Receive);
    line.purge(PurgeQueue::Transmit);
    return result;
}
