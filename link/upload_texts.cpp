#include "link/upload_texts.h"

QString deviceNotReadyText()
{
    return QStringLiteral("Устройство не готово");
}

QString uploadCompletedText()
{
    return QStringLiteral("Заливка завершена");
}

QString uploadCancelledText()
{
    return QStringLiteral("Заливка завершилась неудачей");
}

QString uploadedText(int percent)
{
    return QStringLiteral("Залито %1 %").arg(percent);
}

QString watchdogFailureText(bool packetSent)
{
    return packetSent ? QStringLiteral("Сбой передачи")
                      : QStringLiteral("Устройство выключено или выбран другой порт");
}
