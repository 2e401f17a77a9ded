#include "tools/demo/recording_writer.h"

#include "tools/demo/adpcm_encoder.h"
#include "tools/demo/sound_signals.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHeaderSize = 512;

void putInt32(QByteArray &bytes, int offset, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// The device plays a PCM 8 sample as the high byte of a 16-bit one.
QByteArray pcm8(const std::vector<int16_t> &signal)
{
    QByteArray bytes(static_cast<qsizetype>(signal.size()), '\0');
    for (size_t i = 0; i < signal.size(); ++i)
        bytes[static_cast<qsizetype>(i)] =
            static_cast<char>(std::clamp<long>(std::lround(signal[i] / 256.0), -128, 127));
    return bytes;
}

QByteArray pcm16(const std::vector<int16_t> &signal)
{
    QByteArray bytes(static_cast<qsizetype>(2 * signal.size()), '\0');
    for (size_t i = 0; i < signal.size(); ++i) {
        const auto sample = static_cast<uint16_t>(signal[i]);
        bytes[static_cast<qsizetype>(2 * i)] = static_cast<char>(sample & 0xFF);
        bytes[static_cast<qsizetype>(2 * i + 1)] = static_cast<char>(sample >> 8);
    }
    return bytes;
}

QByteArray encoded(const std::vector<int16_t> &signal, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Adpcm:
        return adpcmFollowing(signal);
    case Encoding::Pcm8:
        return pcm8(signal);
    case Encoding::Pcm16:
        break;
    }
    return pcm16(signal);
}

} // namespace

QByteArray recordingHeader(int32_t dataLength, int32_t sampleCount, int32_t durationMs, int8_t type)
{
    QByteArray header(kHeaderSize, '\0');
    header.replace(0, 4, "KROD");
    putInt32(header, 4, dataLength);
    putInt32(header, 8, sampleCount);
    putInt32(header, 12, durationMs);
    header[16] = static_cast<char>(type);
    return header;
}

QByteArray encodedRecording(const std::vector<int16_t> &signal, Encoding encoding)
{
    const QByteArray data = encoded(signal, encoding);
    const auto sampleCount = static_cast<int32_t>(signal.size());
    const auto durationMs = static_cast<int32_t>(std::lround(sampleCount * 1000.0 / kSignalRate));
    return recordingHeader(static_cast<int32_t>(data.size()), sampleCount, durationMs,
                           static_cast<int8_t>(encoding))
           + data;
}
