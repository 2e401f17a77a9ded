#include "image/limit_check.h"

#include <gtest/gtest.h>

TEST(LimitCheck, CountFirstThenVolumeAndEqualityPasses)
{
    const DeviceProfile p32 = fixedProfile(DeviceModel::Records32);
    const DeviceProfile p99 = fixedProfile(DeviceModel::Records99);
    struct Case {
        DeviceProfile profile;
        int32_t numbered;
        int32_t used;
        LimitCheck expected;
    };
    for (const Case &c : {
             Case{p32, 32, 4320096, LimitCheck::Passed},
             Case{p32, 33, 0, LimitCheck::TooManyRecords},
             Case{p32, 0, 4320097, LimitCheck::TooMuchVolume},
             Case{p32, 33, 4320097, LimitCheck::TooManyRecords},
             Case{p99, 99, 8645472, LimitCheck::Passed},
             Case{p99, 100, 8645472, LimitCheck::TooManyRecords},
             Case{p99, 99, 8645473, LimitCheck::TooMuchVolume}}) {
        EXPECT_EQ(checkLimits({c.used, c.numbered}, c.profile), c.expected)
            << c.profile.maxRecords << " records, " << c.numbered << " numbered, " << c.used << " used";
    }
    EXPECT_EQ(limitMessage(LimitCheck::TooManyRecords), "Превышено допустимое количество голосов");
    EXPECT_EQ(limitMessage(LimitCheck::TooMuchVolume), "Превышен максимальный объем");
}
