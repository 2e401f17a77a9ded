#include "link/transfer_packet.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

std::vector<uint8_t> packetOf(ProtocolVariant protocol, uint32_t sequence, std::vector<uint8_t> block)
{
    std::vector<uint8_t> packet(packetSizeOf(static_cast<int>(block.size())));
    buildPacket(protocol, sequence, block, packet);
    return packet;
}

} // namespace

TEST(TransferPacket, ShortBlockCarriesNumberComplementAndDataSum)
{
    const auto zeros = packetOf(ProtocolVariant::ShortBlock, 1, std::vector<uint8_t>(128, 0x00));
    ASSERT_EQ(zeros.size(), 132u);
    EXPECT_EQ(zeros[0], 0x01);
    EXPECT_EQ(zeros[1], 0x01);
    EXPECT_EQ(zeros[2], 0xFE);
    EXPECT_EQ(zeros[131], 0x00);

    const auto ones = packetOf(ProtocolVariant::ShortBlock, 1, std::vector<uint8_t>(128, 0xFF));
    EXPECT_EQ(ones[131], 0x80);

    const auto wrapped = packetOf(ProtocolVariant::ShortBlock, 256, std::vector<uint8_t>(128, 0x01));
    EXPECT_EQ(wrapped[1], 0x00);
    EXPECT_EQ(wrapped[2], 0xFF);
    EXPECT_EQ(wrapped[131], 0x80);
}

TEST(TransferPacket, PageBlockCounterIsLowByteFirstAndTheWholePacketSumsToZero)
{
    const auto zeros = packetOf(ProtocolVariant::PageBlock, 0, std::vector<uint8_t>(1056, 0x00));
    ASSERT_EQ(zeros.size(), 1060u);
    EXPECT_EQ(zeros[1], 0x00);
    EXPECT_EQ(zeros[2], 0x00);
    EXPECT_EQ(zeros[1059], 0xFF);

    std::vector<uint8_t> data(1056);
    std::iota(data.begin(), data.end(), 7);
    const auto counted = packetOf(ProtocolVariant::PageBlock, 0x10102, data);
    EXPECT_EQ(counted[1], 0x02);
    EXPECT_EQ(counted[2], 0x01);
    EXPECT_EQ(std::accumulate(counted.begin(), counted.end(), 0u) % 256, 0u);
}
