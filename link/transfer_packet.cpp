#include "link/transfer_packet.h"

#include <algorithm>

void buildPacket(ProtocolVariant protocol, uint32_t sequence, std::span<const uint8_t> block,
                 std::span<uint8_t> packet)
{
    packet[0] = wire::kStart;
    if (protocol == ProtocolVariant::ShortBlock) {
        packet[1] = static_cast<uint8_t>(sequence);
        packet[2] = static_cast<uint8_t>(255 - packet[1]);
    } else {
        packet[1] = static_cast<uint8_t>(sequence);
        packet[2] = static_cast<uint8_t>(sequence >> 8);
    }
    std::copy(block.begin(), block.end(), packet.begin() + 3);

    uint8_t sum = 0;
    for (size_t i = 0; i < block.size() + 3; ++i)
        sum = static_cast<uint8_t>(sum + packet[i]);
    packet[block.size() + 3] = protocol == ProtocolVariant::ShortBlock ? sum
                                                                        : static_cast<uint8_t>(-sum);
}
