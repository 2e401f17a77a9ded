#include "image/limit_check.h"

LimitCheck checkLimits(const TableTotals &totals, const DeviceProfile &profile)
{
    if (totals.numberedCount > profile.maxRecords)
        return LimitCheck::TooManyRecords;
    if (totals.usedVolume > profile.maxVolume)
        return LimitCheck::TooMuchVolume;
    return LimitCheck::Passed;
}

QString limitMessage(LimitCheck result)
{
    switch (result) {
    case LimitCheck::TooManyRecords: return QStringLiteral("Превышено допустимое количество голосов");
    case LimitCheck::TooMuchVolume: return QStringLiteral("Превышен максимальный объем");
    case LimitCheck::Passed: break;
    }
    return {};
}
