// Our decoder against ffmpeg's on sound that never reaches the clamps, where
// the two must agree sample for sample.
#include "audio/wav_image.h"
#include "tests/support/ffmpeg_ima_ssi.h"
#include "tests/support/recording_files.h"
#include "tools/demo/adpcm_encoder.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// A sweep from 50 Hz to 3 kHz that swells and fades four times, with hiss:
// every code and a wide range of step sizes, far from the clamps.
std::vector<int16_t> sweepWithHiss(int count)
{
    std::vector<int16_t> signal(static_cast<size_t>(count));
    uint32_t noise = 12345;
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / count;
        phase += 2 * std::numbers::pi * 50 * std::pow(60.0, t) / 22050;
        const double loudness = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * 4 * t);
        noise = noise * 1664525u + 1013904223u;
        const double hiss = (static_cast<int>(noise >> 20) - 2048) * 1.5;
        signal[static_cast<size_t>(i)] =
            static_cast<int16_t>(std::lround(loudness * (12000 * std::sin(phase) + hiss)));
    }
    return signal;
}

} // namespace

TEST(AdpcmReference, AgreesWithFfmpegOnAnEightSecondRecording)
{
    // 88,200 data bytes: more than one read of the file, and an odd count.
    const QByteArray codes = adpcmFollowing(sweepWithHiss(8 * 22050));
    const int32_t sampleCount = static_cast<int32_t>(2 * codes.size() - 1);
    QTemporaryDir dir;
    RecordingFields fields;
    fields.sampleCount = sampleCount;
    fields.dataLength = static_cast<int32_t>(codes.size());
    fields.data = codes;
    const QByteArray image = readPreviewImage(writeRecording(dir.filePath(QStringLiteral("sweep.krd")), fields));

    const std::vector<int16_t> reference = FfmpegImaSsi(codes).decodeAll();
    ASSERT_EQ(reference.size(), size_t(2 * codes.size()));
    ASSERT_EQ(image.size(), kWavHeaderSize + 2 * qsizetype{sampleCount});

    int mismatches = 0;
    int16_t loudest = 0;
    for (int32_t i = 0; i < sampleCount; ++i) {
        const int16_t ours = qFromLittleEndian<int16_t>(image.constData() + kWavHeaderSize + 2 * i);
        loudest = std::max<int16_t>(loudest, static_cast<int16_t>(std::abs(ours)));
        if (ours != reference[size_t(i)] && mismatches++ < 5)
            ADD_FAILURE() << "sample " << i << ": ours " << ours << ", ffmpeg " << reference[size_t(i)];
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_LT(loudest, 32767) << "the sound reached a clamp, where the decoders differ";
    EXPECT_GT(loudest, 10000) << "the sound is too quiet to use the large steps";
}
