#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

enum class Encoding : int8_t { Adpcm = 0, Pcm8 = 1, Pcm16 = 2 };

// The 512-byte header of a recording file, "KROD" and the fields as given
// (little-endian); the bytes nobody reads are zero.
QByteArray recordingHeader(int32_t dataLength, int32_t sampleCount, int32_t durationMs, int8_t type);

// A whole recording file: signal (at 22050 samples per second) in the
// encoding, behind a header whose data length, sample count, duration and
// type describe it.
QByteArray encodedRecording(const std::vector<int16_t> &signal, Encoding encoding);
