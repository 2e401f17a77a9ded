#include "link/serial_line.h"

bool setLineSpeed(SerialLine &line, int32_t baudRate)
{
    LineSettings settings;
    if (!line.getSettings(settings))
        return false;
    settings.baudRate = baudRate;
    return line.setSettings(settings);
}

QString openFailureText(const OpenResult &result, const QString &path)
{
    switch (result.status) {
    case OpenStatus::Opened:
        return {};
    case OpenStatus::InUse:
        return QStringLiteral("Порт %1 занят другой программой").arg(path);
    case OpenStatus::NoPermission:
        return QStringLiteral("Нет доступа к порту %1: %2").arg(path, result.detail);
    case OpenStatus::Missing:
        return QStringLiteral("Порт %1 не найден: устройство отключено?").arg(path);
    case OpenStatus::Failed:
        break;
    }
    return QStringLiteral("Не удалось открыть порт %1: %2").arg(path, result.detail);
}
