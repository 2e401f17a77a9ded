#pragma once

// The program only decodes; encoding is for making recordings to try it
// with, here and in the tests.
#include <QByteArray>

#include <cstdint>
#include <vector>

// For each sample the 4-bit IMA ADPCM code whose decoding lands nearest,
// from the decoder's initial state; two codes a byte, high nibble first:
// the data of an encoding type 0 recording.
QByteArray adpcmFollowing(const std::vector<int16_t> &signal);
