#include "audio/wav_image.h"

#include "audio/adpcm_bytes.h"
#include "core/operation_error.h"
#include "table/recording_file.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

enum EncodingType { kAdpcm = 0, kPcm8 = 1, kPcm16 = 2 };

qint64 dataBytesOf(int32_t sampleCount, int encodingType)
{
    switch (encodingType) {
    case kAdpcm:
        return (qint64{sampleCount} + 1) / 2;
    case kPcm8:
        return sampleCount;
    case kPcm16:
        return 2 * qint64{sampleCount};
    default:
        return 0;
    }
}

void writeHeader(char *image, int32_t sampleCount)
{
    const uint32_t dataSize = 2 * static_cast<uint32_t>(sampleCount);
    const auto put16 = [image](int offset, uint16_t value) { qToLittleEndian(value, image + offset); };
    const auto put32 = [image](int offset, uint32_t value) { qToLittleEndian(value, image + offset); };
    std::memcpy(image, "RIFF", 4);
    put32(4, dataSize + 36);
    std::memcpy(image + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1); // PCM
    put16(22, 1); // mono
    put32(24, kPreviewSampleRate);
    put32(28, 2 * kPreviewSampleRate);
    put16(32, 2);
    put16(34, 16);
    std::memcpy(image + 36, "data", 4);
    put32(40, dataSize);
}

QString refusal(const QString &path, int32_t sampleCount)
{
    return QStringLiteral("Файл %1 - неверное число отсчетов: %2 (допустимо от 0 до %3, один час звука)")
        .arg(path)
        .arg(sampleCount)
        .arg(kMaxPreviewSamples);
}

} // namespace

WavImageBuilder::WavImageBuilder(int32_t sampleCount, int encodingType)
    : image_(kWavHeaderSize + 2 * qsizetype{sampleCount}, Qt::Uninitialized),
      sampleCount_(sampleCount),
      encodingType_(encodingType),
      bytesNeeded_(dataBytesOf(sampleCount, encodingType))
{
    writeHeader(image_.data(), sampleCount);
}

void WavImageBuilder::feed(const char *bytes, qint64 count)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes);
    switch (encodingType_) {
    case kAdpcm:
        feedAdpcm(data, count);
        break;
    case kPcm8:
        feedPcm8(data, count);
        break;
    case kPcm16:
        std::memcpy(image_.data() + kWavHeaderSize + sampleBytesWritten_, bytes, count);
        sampleBytesWritten_ += count;
        break;
    }
    bytesFed_ += count;
}

void WavImageBuilder::feedAdpcm(const uint8_t *bytes, qint64 count)
{
    // The state and the output stay in locals: stores through a char pointer
    // would otherwise force the state back to memory after every sample.
    TAdpcmState state = adpcm_;
    char *out = image_.data() + kWavHeaderSize + sampleBytesWritten_;
    // With an odd sample count the last byte's low nibble is no sample.
    const bool endsOnHalfByte =
        count > 0 && sampleCount_ % 2 == 1 && bytesFed_ + count == bytesNeeded_;
    const qint64 wholeBytes = endsOnHalfByte ? count - 1 : count;
    for (qint64 i = 0; i < wholeBytes; ++i) {
        const AdpcmSamplePair samples = AdpcmDecodeByte(bytes[i], state);
        qToLittleEndian(samples.first, out);
        qToLittleEndian(samples.second, out + 2);
        out += 4;
    }
    if (endsOnHalfByte) {
        qToLittleEndian(AdpcmDecode(bytes[wholeBytes] >> 4, state), out);
        out += 2;
    }
    adpcm_ = state;
    sampleBytesWritten_ = out - (image_.data() + kWavHeaderSize);
}

void WavImageBuilder::feedPcm8(const uint8_t *bytes, qint64 count)
{
    // The byte is the sample's high byte: a signed 8-bit sample times 256.
    char *out = image_.data() + kWavHeaderSize + sampleBytesWritten_;
    for (qint64 i = 0; i < count; ++i) {
        out[2 * i] = 0;
        out[2 * i + 1] = static_cast<char>(bytes[i]);
    }
    sampleBytesWritten_ += 2 * count;
}

QByteArray WavImageBuilder::finish()
{
    char *sampleArea = image_.data() + kWavHeaderSize;
    std::memset(sampleArea + sampleBytesWritten_, 0, 2 * qsizetype{sampleCount_} - sampleBytesWritten_);
    return std::move(image_);
}

QByteArray readPreviewImage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists())
            throw OperationError(recordingWarning(path, RecordingCheck::Missing));
        throw OperationError(QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.errorString()));
    }
    const auto readError = [&] {
        return OperationError(QStringLiteral("Не удалось прочитать файл %1: %2").arg(path, file.errorString()));
    };

    char headerBytes[RecordingHeader::kSize];
    const qint64 headerRead = file.read(headerBytes, sizeof headerBytes);
    if (headerRead < 0)
        throw readError();
    if (headerRead < RecordingHeader::kSize)
        throw OperationError(recordingWarning(path, RecordingCheck::WrongFormat));
    const RecordingHeader header = RecordingHeader::parse(headerBytes);
    if (header.sampleCount < 0 || header.sampleCount > kMaxPreviewSamples)
        throw OperationError(refusal(path, header.sampleCount));

    try {
        WavImageBuilder builder(header.sampleCount, header.encodingType);
        char chunk[64 * 1024];
        while (builder.bytesWanted() > 0) {
            const qint64 read = file.read(chunk, std::min<qint64>(sizeof chunk, builder.bytesWanted()));
            if (read < 0)
                throw readError();
            if (read == 0)
                break;
            builder.feed(chunk, read);
        }
        return builder.finish();
    } catch (const std::bad_alloc &) {
        throw OperationError(QStringLiteral("Недостаточно памяти, чтобы озвучить файл %1").arg(path));
    }
}
