#include "core/device_profile.h"
#include "core/wrap32.h"

#include <gtest/gtest.h>

TEST(DeviceProfile, FixedProfilesHoldTheModelsGeometry)
{
    const DeviceProfile p32 = fixedProfile(DeviceModel::Records32);
    EXPECT_EQ(p32.pageSize, 528);
    EXPECT_EQ(p32.maxRecords, 32);
    EXPECT_EQ(p32.maxVolume, 4320096);
    EXPECT_EQ(p32.blockSize, 128);
    EXPECT_EQ(p32.protocol, ProtocolVariant::ShortBlock);

    const DeviceProfile p99 = fixedProfile(DeviceModel::Records99);
    EXPECT_EQ(p99.pageSize, 1056);
    EXPECT_EQ(p99.reservedPages, 5);
    EXPECT_EQ(p99.maxRecords, 99);
    EXPECT_EQ(p99.maxVolume, 8645472);
    EXPECT_EQ(p99.blockSize, 1056);
    EXPECT_EQ(p99.protocol, ProtocolVariant::PageBlock);
}

TEST(DeviceProfile, StartupProfileIsThe32RecordModelWithoutBlockSize)
{
    DeviceProfile expected = fixedProfile(DeviceModel::Records32);
    expected.blockSize = 0;
    EXPECT_EQ(startupProfile(), expected);
}

TEST(DeviceProfile, MaxVolumeWrapsLikeThe32BitDevice)
{
    EXPECT_EQ(maxVolumeOf(8192, 5, 1056), 8645472);
    // 100000 pages of 100000 bytes overflow 32 bits and wrap instead of trapping.
    EXPECT_EQ(maxVolumeOf(100005, 5, 100000), wrap32(10000000000LL));
}
