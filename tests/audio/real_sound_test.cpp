// The preview's sound through a real sound server: a looped 1 kHz tone played
// by SoundOut arrives at the sink, and silence follows the stop. real_sound.sh
// starts the server, with a null sink "test" whose monitor is recorded here.
#include "audio/sound_out.h"
#include "audio/wav_image.h"
#include "tests/support/recording_files.h"
#include "tools/demo/adpcm_encoder.h"
#include "tools/demo/sound_signals.h"

#include <QMediaDevices>
#include <QAudioDevice>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = kPreviewSampleRate;

// Records the null sink's monitor with parec, as 16-bit mono at 22050.
class MonitorRecorder
{
public:
    // Returns once the first recorded bytes have arrived: a new stream on an
    // idle sink starts late, so the recording must run before the sound does.
    bool start()
    {
        parec_.start(QStringLiteral("parec"),
                     {"--device=test.monitor", "--format=s16le", "--rate=22050", "--channels=1", "--raw",
                      "--latency-msec=10"});
        if (!parec_.waitForStarted(5000))
            return false;
        return QTest::qWaitFor([this] { return collect() > 0; }, 5000);
    }

    // Samples recorded so far.
    qsizetype collect()
    {
        bytes_ += parec_.readAllStandardOutput();
        return bytes_.size() / 2;
    }

    std::vector<int16_t> stop()
    {
        ::kill(static_cast<pid_t>(parec_.processId()), SIGINT);
        parec_.waitForFinished(5000);
        collect();
        std::vector<int16_t> samples(static_cast<size_t>(bytes_.size() / 2));
        std::memcpy(samples.data(), bytes_.constData(), 2 * samples.size());
        return samples;
    }

private:
    QProcess parec_;
    QByteArray bytes_;
};

// Strength of one frequency in a stretch of samples (Goertzel).
double strengthAt(const int16_t *samples, size_t count, double hz)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
    double previous = 0, beforePrevious = 0;
    for (size_t i = 0; i < count; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
}

double dominantFrequency(const int16_t *samples, size_t count)
{
    double best = 0, bestStrength = -1;
    for (double hz = 50; hz <= 5000; hz += 2) {
        const double strength = strengthAt(samples, count, hz);
        if (strength > bestStrength) {
            best = hz;
            bestStrength = strength;
        }
    }
    return best;
}

} // namespace

TEST(RealSound, LoopedToneArrivesAndSilenceFollowsTheStop)
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        GTEST_SKIP() << "run by real_sound.sh, which starts the sound server";
    ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull()) << "the server runs, but no output is seen";

    // 0.1 s of a 1 kHz tone is exactly 100 periods: the loop joins smoothly.
    QTemporaryDir dir;
    RecordingFields fields;
    fields.sampleCount = kRate / 10;
    fields.data = adpcmFollowing(toneSamples(1000, fields.sampleCount, 12000));
    fields.dataLength = static_cast<int32_t>(fields.data.size());
    const QByteArray image = readPreviewImage(writeRecording(dir.filePath(QStringLiteral("tone.krd")), fields));

    MonitorRecorder monitor;
    ASSERT_TRUE(monitor.start()) << "parec records nothing from test.monitor";
    SoundOut sound;
    sound.playLooped(image);
    QTest::qWait(1500);
    sound.stop();
    const auto stoppedAt = static_cast<size_t>(monitor.collect());
    QTest::qWait(1200);
    const std::vector<int16_t> recorded = monitor.stop();

    const auto loud = [](int16_t sample) { return std::abs(sample) > 2000; };
    const auto toneStart = static_cast<size_t>(
        std::find_if(recorded.begin(), recorded.begin() + static_cast<std::ptrdiff_t>(stoppedAt), loud) - recorded.begin());
    ASSERT_LT(toneStart, stoppedAt) << "no sound arrived before the stop";
    // Many times the recording's own length: it was looped.
    const size_t window = kRate / 2;
    ASSERT_GE(stoppedAt - toneStart, window + kRate / 10) << "the tone arrived for too short a time";
    EXPECT_NEAR(dominantFrequency(recorded.data() + toneStart + kRate / 20, window), 1000.0, 20.0);

    // What the output still held when it stopped has played after half a second.
    const size_t quietFrom = stoppedAt + kRate / 2;
    ASSERT_GE(recorded.size(), quietFrom + kRate / 2) << "too little recorded after the stop";
    const auto loudest = std::abs(*std::max_element(recorded.begin() + static_cast<std::ptrdiff_t>(quietFrom), recorded.end(),
                                                    [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); }));
    EXPECT_LE(loudest, 64) << "sound went on after the stop";
}
