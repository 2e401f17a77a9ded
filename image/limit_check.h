#pragma once

#include "core/device_profile.h"
#include "table/refresh_table.h"

#include <QString>

// The two checks every build is preceded by, against the last refresh's
// totals: first the numbered count, then the used volume. Equality passes.
enum class LimitCheck { Passed, TooManyRecords, TooMuchVolume };

LimitCheck checkLimits(const TableTotals &totals, const DeviceProfile &profile);

// The message for a failed check.
QString limitMessage(LimitCheck result);
