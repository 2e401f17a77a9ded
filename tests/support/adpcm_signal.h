#pragma once

// Sound for the decoder's tests and benchmarks: a tone, and the ADPCM codes
// that follow a signal (the program itself never encodes).
#include "audio/adpcm.h"

#include <QByteArray>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

// A sine at 22050 samples per second.
inline std::vector<int16_t> toneSamples(double hz, int count, double amplitude)
{
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        samples[static_cast<size_t>(i)] =
            static_cast<int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / 22050)));
    return samples;
}

// For each sample the code whose decoding lands nearest, two codes a byte,
// high nibble first, from the initial state: a type 0 recording's data.
inline QByteArray adpcmFollowing(const std::vector<int16_t> &signal)
{
    QByteArray bytes(static_cast<qsizetype>((signal.size() + 1) / 2), '\0');
    TAdpcmState state;
    for (size_t i = 0; i < signal.size(); ++i) {
        uint8_t best = 0;
        int bestError = 1 << 30;
        for (uint8_t code = 0; code < 16; ++code) {
            TAdpcmState trial = state;
            const int error = std::abs(AdpcmDecode(code, trial) - signal[i]);
            if (error < bestError) {
                best = code;
                bestError = error;
            }
        }
        AdpcmDecode(best, state);
        bytes[static_cast<qsizetype>(i / 2)] |= static_cast<char>(i % 2 == 0 ? best << 4 : best);
    }
    return bytes;
}
