#pragma once

#include <cstdint>

// The device's formats count in signed 32-bit numbers that wrap on overflow.
// Arithmetic is done in 64 bits and brought back here, so it never overflows.
constexpr int32_t wrap32(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}
