#pragma once

#include <array>
#include <cstdint>

// 4-bit IMA (DVI) ADPCM, one code at a time. The caller owns the state, one
// per encoded stream, starting from {0, 0}.
struct TAdpcmState {
    int16_t Predictor = 0; // the last decoded sample
    int8_t StepIndex = 0;  // 0..88 after every call
};

inline constexpr std::array<int16_t, 89> kAdpcmStepSizes = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Indexed by the whole code: the sign bit does not change the entry.
inline constexpr std::array<int8_t, 16> kAdpcmIndexSteps = {
    -1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

// Decodes one code (0..15) and returns the new sample. The result never is
// -32768, so the samples stay symmetric around zero. Inline: the preview
// calls it once per sample over whole recordings.
constexpr int16_t AdpcmDecode(uint8_t code, TAdpcmState &state)
{
    const int32_t step = kAdpcmStepSizes[static_cast<std::size_t>(state.StepIndex)];
    // Each term is truncated on its own, as the encoder's reconstruction does.
    int32_t diff = step >> 3;
    if (code & 4)
        diff += step;
    if (code & 2)
        diff += step >> 1;
    if (code & 1)
        diff += step >> 2;

    int32_t sample = (code & 8) ? state.Predictor - diff : state.Predictor + diff;
    if (sample > 32767)
        sample = 32767;
    else if (sample < -32767)
        sample = -32767;

    int32_t index = state.StepIndex + kAdpcmIndexSteps[code];
    if (index < 0)
        index = 0;
    else if (index > 88)
        index = 88;

    state.Predictor = static_cast<int16_t>(sample);
    state.StepIndex = static_cast<int8_t>(index);
    return state.Predictor;
}
