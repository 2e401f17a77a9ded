#pragma once

#include "audio/adpcm.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The preview's sound: a complete WAV file image in memory, a 44-byte header
// and 16-bit mono samples at 22050 per second, whatever the recording.
inline constexpr int kWavHeaderSize = 44;
inline constexpr int32_t kPreviewSampleRate = 22050;

// One hour of sound. A longer or negative sample count comes from a broken
// header, and its image would not fit a sane amount of memory.
inline constexpr int32_t kMaxPreviewSamples = 3600 * kPreviewSampleRate;

// Builds the image of a recording from its data (the bytes after the
// header), fed in pieces as they are read. By encoding type: 0 IMA ADPCM,
// high nibble first, one continuous decoder state; 1 PCM 8-bit as the
// sample's high byte; 2 PCM 16-bit copied. Samples of other types and those
// past the end of short data are silence.
class WavImageBuilder
{
public:
    // sampleCount must be within 0..kMaxPreviewSamples. Allocates the image
    // (std::bad_alloc when it cannot).
    WavImageBuilder(int32_t sampleCount, int encodingType);

    // Data bytes still needed; 0 once the samples are complete.
    qint64 bytesWanted() const { return bytesNeeded_ - bytesFed_; }

    // Converts the next data bytes; count must not exceed bytesWanted().
    void feed(const char *bytes, qint64 count);

    // The image, with silence where the data did not reach. Called once, last.
    QByteArray finish();

private:
    void feedAdpcm(const uint8_t *bytes, qint64 count);
    void feedPcm8(const uint8_t *bytes, qint64 count);

    QByteArray image_;
    int32_t sampleCount_;
    int encodingType_;
    qint64 bytesNeeded_;
    qint64 bytesFed_ = 0;
    qint64 sampleBytesWritten_ = 0; // from the start of the sample area
    TAdpcmState adpcm_;
};

// Reads a recording file and builds its image. Only the sample count and
// the encoding type of the header are used. Throws OperationError, before
// any large allocation, for a missing or unreadable file, a file shorter
// than its header and a sample count outside 0..kMaxPreviewSamples.
QByteArray readPreviewImage(const QString &path);
