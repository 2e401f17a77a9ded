#pragma once

#include "core/device_profile.h"

#include <cstdint>
#include <span>

// Bytes of the upload exchange.
namespace wire {
inline constexpr uint8_t kStart = 0x01;       // first byte of a data packet
inline constexpr uint8_t kLoadingMode = 0x4C; // "L": the 32-record model enters loading
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;
inline constexpr uint8_t kCancel = 0x18;
inline constexpr uint8_t kEndOfTransmission[2] = {0x04, 0xFB};
} // namespace wire

// The largest payload a packet buffer of 2000 bytes takes.
inline constexpr int kMaxBlockSize = 1996;

constexpr int packetSizeOf(int blockSize)
{
    return blockSize + 4;
}

// Writes the data packet of one block into packet (packetSizeOf(block.size())
// bytes). sequence is the block number (short blocks: 8 bits and its
// complement) or the block counter (page blocks: its low 16 bits, low byte
// first). The short-block checksum is the sum of the packet's bytes, the
// page-block one makes that sum zero.
void buildPacket(ProtocolVariant protocol, uint32_t sequence, std::span<const uint8_t> block,
                 std::span<uint8_t> packet);
