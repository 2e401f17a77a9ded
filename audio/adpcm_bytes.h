#pragma once

#include "audio/adpcm.h"

#include <algorithm>
#include <cstdint>

// Decoding a recording's data a whole byte at a time: two codes, high nibble
// first, with exactly the results of two AdpcmDecode calls. Tables derived
// from AdpcmDecode when compiling take the step arithmetic out of the loop,
// and the step index moves a byte at a time in one look-up, which keeps the
// preview's decoding of long recordings quick.
struct AdpcmByteTables {
    int32_t difference[89][16];     // [step index][code]: added to the predictor, then clamped
    uint8_t nextIndex[89][16];      // [step index][code]
    uint8_t indexAfterByte[89][256]; // [step index][byte]
};

constexpr AdpcmByteTables makeAdpcmByteTables()
{
    AdpcmByteTables tables{};
    for (int index = 0; index <= 88; ++index) {
        for (uint8_t code = 0; code < 16; ++code) {
            // Starting from the far end of the range, no difference reaches a clamp.
            const bool subtracts = code & 8;
            TAdpcmState state{static_cast<int16_t>(subtracts ? 32767 : -32767), static_cast<int8_t>(index)};
            const int32_t sample = AdpcmDecode(code, state);
            tables.difference[index][code] = subtracts ? sample - 32767 : sample + 32767;
            tables.nextIndex[index][code] = static_cast<uint8_t>(state.StepIndex);
        }
    }
    for (int index = 0; index <= 88; ++index)
        for (int byte = 0; byte < 256; ++byte)
            tables.indexAfterByte[index][byte] = tables.nextIndex[tables.nextIndex[index][byte >> 4]][byte & 0x0F];
    return tables;
}

inline constexpr AdpcmByteTables kAdpcmByteTables = makeAdpcmByteTables();

struct AdpcmSamplePair {
    int16_t first; // from the high nibble
    int16_t second;
};

inline AdpcmSamplePair AdpcmDecodeByte(uint8_t byte, TAdpcmState &state)
{
    const auto &tables = kAdpcmByteTables;
    const auto clamped = [](int32_t sample) { return std::clamp(sample, -32767, 32767); };
    const int high = byte >> 4;
    const int index = state.StepIndex;
    const int32_t first = clamped(state.Predictor + tables.difference[index][high]);
    const int32_t second = clamped(first + tables.difference[tables.nextIndex[index][high]][byte & 0x0F]);
    state.Predictor = static_cast<int16_t>(second);
    state.StepIndex = static_cast<int8_t>(tables.indexAfterByte[index][byte]);
    return {static_cast<int16_t>(first), static_cast<int16_t>(second)};
}
