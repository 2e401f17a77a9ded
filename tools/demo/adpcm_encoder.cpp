#include "tools/demo/adpcm_encoder.h"

#include "audio/adpcm.h"

#include <cstdlib>

QByteArray adpcmFollowing(const std::vector<int16_t> &signal)
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
