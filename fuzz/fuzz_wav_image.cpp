// The preview's WAV image of any recording file, against the conversion
// written out one sample at a time; and the same image built from the data
// fed in pieces of every size, as large files are read.
#include "audio/wav_image.h"
#include "core/operation_error.h"
#include "fuzz/fuzz_support.h"
#include "table/recording_file.h"

#include <algorithm>

namespace {

void putLittleEndian32(QByteArray &bytes, int offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

void putSample(QByteArray &image, int32_t index, int16_t sample)
{
    const auto bits = static_cast<uint16_t>(sample);
    image[kWavHeaderSize + 2 * index] = static_cast<char>(bits & 0xFF);
    image[kWavHeaderSize + 2 * index + 1] = static_cast<char>(bits >> 8);
}

QByteArray expectedImage(int32_t samples, int8_t type, const QByteArray &data)
{
    QByteArray image(kWavHeaderSize + 2 * qsizetype{samples}, '\0');
    const uint32_t dataSize = 2 * static_cast<uint32_t>(samples);
    image.replace(0, 4, "RIFF");
    putLittleEndian32(image, 4, dataSize + 36);
    image.replace(8, 8, "WAVEfmt ");
    putLittleEndian32(image, 16, 16);
    putLittleEndian32(image, 20, 1 | 1 << 16); // PCM, mono
    putLittleEndian32(image, 24, 22050);
    putLittleEndian32(image, 28, 44100);
    putLittleEndian32(image, 32, 2 | 16 << 16); // 2 bytes a frame, 16 bits
    image.replace(36, 4, "data");
    putLittleEndian32(image, 40, dataSize);

    TAdpcmState state;
    for (int32_t i = 0; i < samples; ++i) {
        switch (type) {
        case 0:
            if (i / 2 < data.size()) {
                const auto byte = static_cast<uint8_t>(data[i / 2]);
                putSample(image, i, AdpcmDecode(i % 2 == 0 ? byte >> 4 : byte & 0x0F, state));
            }
            break;
        case 1:
            if (i < data.size())
                putSample(image, i, static_cast<int16_t>(static_cast<int8_t>(data[i]) * 256));
            break;
        }
    }
    // 16-bit data is copied as it is, up to the byte where the file ends.
    if (type == 2) {
        const qsizetype copied = std::min(2 * qsizetype{samples}, data.size());
        image.replace(kWavHeaderSize, copied, data.constData(), copied);
    }
    return image;
}

// Piece sizes from 1 to 8 bytes, drawn from the data itself.
QByteArray builtInPieces(int32_t samples, int8_t type, const QByteArray &data)
{
    WavImageBuilder builder(samples, type);
    qsizetype at = 0;
    while (builder.bytesWanted() > 0 && at < data.size()) {
        const qint64 piece = std::min({builder.bytesWanted(), qint64{data.size() - at},
                                       qint64{1 + (static_cast<uint8_t>(data[at]) & 7)}});
        builder.feed(data.constData() + at, piece);
        at += piece;
    }
    return builder.finish();
}

bool refusedWith(const QString &path, const QString &text)
{
    try {
        readPreviewImage(path);
    } catch (const OperationError &error) {
        return error.message().contains(text);
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const ScratchFile file("recording.krd");
    QByteArray recording = inputBytes(data, size);
    if (recording.size() < RecordingHeader::kSize) {
        file.write(recording);
        FUZZ_CHECK(refusedWith(file.path(), QStringLiteral("неверный формат")));
        return 0;
    }
    int32_t samples = RecordingHeader::parse(recording.constData()).sampleCount;
    if (samples < 0 || samples > kMaxPreviewSamples) {
        file.write(recording);
        FUZZ_CHECK(refusedWith(file.path(), QStringLiteral("неверное число отсчетов")));
        return 0;
    }
    // Counts far past the data only add silence: keep the images small.
    const int32_t bound = 4 * static_cast<int32_t>(recording.size()) + 64;
    if (samples > bound) {
        samples %= bound + 1;
        recording.detach();
        putLittleEndian32(recording, 8, static_cast<uint32_t>(samples));
    }
    file.write(recording);

    const auto type = static_cast<int8_t>(recording[16]);
    const QByteArray soundData = recording.mid(RecordingHeader::kSize);
    const QByteArray image = readPreviewImage(file.path());
    FUZZ_CHECK(image.size() == kWavHeaderSize + 2 * qsizetype{samples});
    FUZZ_CHECK(image == expectedImage(samples, type, soundData));
    FUZZ_CHECK(builtInPieces(samples, type, soundData) == image);
    return 0;
}
