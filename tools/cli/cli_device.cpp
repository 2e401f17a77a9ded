#include "tools/cli/cli_device.h"

#include "link/port_enumeration.h"
#include "tools/cli/cli_output.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPollInterval{2000};

QString tickReport(const Detection &detection, int32_t speed)
{
    switch (detection.answer) {
    case DeviceAnswer::None:
        return QStringLiteral("%1 бод: нет ответа").arg(speed);
    case DeviceAnswer::Unrecognised:
        return QStringLiteral("%1 бод: устройство не опознано, ответ \"%2\"")
            .arg(speed)
            .arg(visibleBytes(detection.reply));
    default:
        return QStringLiteral("%1 бод: устройство подключено").arg(speed);
    }
}

} // namespace

QString portPathOfArgument(const QString &port)
{
    return port.startsWith(u'/') ? port : portPathOf(port);
}

std::optional<Detection> pollForDevice(SerialLine &line, DeviceProfile &profile, bool automatic,
                                       double timeoutSeconds)
{
    const auto stopAt = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(timeoutSeconds));
    for (auto tick = Clock::now();; tick += kPollInterval) {
        std::this_thread::sleep_until(tick);
        if (automatic)
            alternateLineSpeed(line);
        const Detection detection = detectDevice(line, profile, automatic);
        printError(tickReport(detection, currentLineSpeed(line)));
        if (detection.model())
            return detection;
        if (tick + kPollInterval >= stopAt)
            return std::nullopt;
    }
}

QString visibleBytes(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto value = uchar(byte);
        if (byte == '\r')
            text += QStringLiteral("\\r");
        else if (byte == '\n')
            text += QStringLiteral("\\n");
        else if (value < 0x20 || value >= 0x7F || byte == '\\')
            text += QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(byte);
    }
    return text;
}

int32_t currentLineSpeed(SerialLine &line)
{
    LineSettings settings;
    return line.getSettings(settings) ? settings.baudRate : 0;
}
