#pragma once

#include <cstdint>
#include <vector>

// Sound at the device's 22050 samples per second, for demo recordings,
// tests and benchmarks.
inline constexpr int kSignalRate = 22050;

// A sine of hz; count samples.
std::vector<int16_t> toneSamples(double hz, int count, double amplitude);

// A sine gliding from fromHz to toHz at an even pace in octaves, faded in
// and out over a few milliseconds so that it loops without a click.
std::vector<int16_t> sweepSamples(double fromHz, double toHz, int count, double amplitude);
