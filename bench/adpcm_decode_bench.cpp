// Decoding a 60-second ADPCM recording (1,323,000 samples) to the preview's
// WAV image, against ffmpeg's adpcm_ima_ssi decoder (libavcodec) on the same
// bytes in the same run. Goal: at least 200 million samples per second on
// one core, and faster than ffmpeg. The last lines give the ratio.
#include "audio/wav_image.h"
#include "tests/support/ffmpeg_ima_ssi.h"
#include "tools/demo/adpcm_encoder.h"
#include "tools/demo/sound_signals.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <string>

namespace {

constexpr int32_t kSamples = 60 * kPreviewSampleRate;

// A minute of speech-like sound: a tone whose pitch and loudness wander.
const QByteArray &minuteOfCodes()
{
    static const QByteArray codes = [] {
        std::vector<int16_t> signal = toneSamples(440, kSamples, 9000);
        const std::vector<int16_t> overtone = toneSamples(1375, kSamples, 4000);
        for (size_t i = 0; i < signal.size(); ++i) {
            const double swell = 0.6 + 0.4 * std::sin(double(i) / 3000);
            signal[i] = static_cast<int16_t>(swell * (signal[i] + overtone[i]));
        }
        return adpcmFollowing(signal);
    }();
    return codes;
}

QString writeMinuteRecording(const QString &path)
{
    QByteArray header(512, '\0');
    header.replace(0, 4, "KROD");
    qToLittleEndian(static_cast<int32_t>(minuteOfCodes().size()), header.data() + 4);
    qToLittleEndian(kSamples, header.data() + 8);
    qToLittleEndian(int32_t{60000}, header.data() + 12);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(header + minuteOfCodes()) != 512 + minuteOfCodes().size())
        std::abort();
    return path;
}

void BM_PreviewImageFromMemory(benchmark::State &state)
{
    const QByteArray &codes = minuteOfCodes();
    for (auto _ : state) {
        WavImageBuilder builder(kSamples, 0);
        builder.feed(codes.constData(), codes.size());
        benchmark::DoNotOptimize(builder.finish());
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_PreviewImageFromMemory)->Unit(benchmark::kMillisecond);

// The whole work of pressing play: the file (from the page cache) to the image.
void BM_PreviewImageFromFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeMinuteRecording(dir.filePath(QStringLiteral("minute.krd")));
    for (auto _ : state)
        benchmark::DoNotOptimize(readPreviewImage(path));
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_PreviewImageFromFile)->Unit(benchmark::kMillisecond);

void BM_FfmpegImaSsi(benchmark::State &state)
{
    // The samples stay in ffmpeg's own frames, as ours stay in the image.
    FfmpegImaSsi decoder(minuteOfCodes());
    for (auto _ : state) {
        decoder.decode([](const int16_t *samples, int count) {
            benchmark::DoNotOptimize(samples);
            benchmark::DoNotOptimize(count);
        });
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_FfmpegImaSsi)->Unit(benchmark::kMillisecond);

// The console table, then each of ours against ffmpeg, measured in this run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median)
                rates_[run.run_name.function_name] = run.counters.at("items_per_second");
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto reference = rates_.find("BM_FfmpegImaSsi");
        if (reference == rates_.end())
            return;
        for (const auto &[name, rate] : rates_)
            if (name != reference->first)
                GetOutputStream() << name << ": " << std::lround(rate / 1e6) << " million samples/s, "
                                  << std::round(100 * rate / reference->second) / 100 << " times ffmpeg's "
                                  << std::lround(reference->second / 1e6) << " million\n";
    }

private:
    std::map<std::string, double> rates_;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
