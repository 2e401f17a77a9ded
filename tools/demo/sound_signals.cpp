#include "tools/demo/sound_signals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<int16_t> toneSamples(double hz, int count, double amplitude)
{
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / kSignalRate)));
    return samples;
}

std::vector<int16_t> sweepSamples(double fromHz, double toHz, int count, double amplitude)
{
    constexpr int kFadeSamples = kSignalRate / 100;
    std::vector<int16_t> samples(static_cast<size_t>(count));
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double hz = fromHz * std::pow(toHz / fromHz, double(i) / count);
        phase += 2 * std::numbers::pi * hz / kSignalRate;
        const double fade = std::min({1.0, double(i) / kFadeSamples, double(count - 1 - i) / kFadeSamples});
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(fade * amplitude * std::sin(phase)));
    }
    return samples;
}
