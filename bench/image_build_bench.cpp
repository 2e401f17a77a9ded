// Building the full image of the 99-record model (99 recordings, 8.6 MB of
// data, files in the page cache) against the I/O floor measured alongside it:
// reading the same files twice and writing the image's length once with
// plain large-block read/write. Each iteration runs both, in turns, and
// the ratio is taken between their medians, so it holds up on a busy
// machine. The goal is a ratio of at most 1.5.
//
// image_build_bench --write-recordings DIR writes the recordings and a list
// of them (all.pls) into DIR and exits, for measuring the CLI on them.
#include "image/build_image.h"
#include "table/recording_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kRecordings = 99;
constexpr int kImagePage = 1056;

// 69 recordings of 83 pages and 30 of 82 fill the 99-record model's 8187
// pages exactly; each ends 100 bytes short of its last page.
int32_t dataLengthOf(int index)
{
    return (index < 69 ? 83 : 82) * kImagePage - 100;
}

QByteArray recordingBytes(int index)
{
    const int32_t length = dataLengthOf(index);
    QByteArray bytes(512 + length, '\0');
    std::memcpy(bytes.data(), "KROD", 4);
    const int32_t header[3] = {length, 2 * length, length / 11};
    std::memcpy(bytes.data() + 4, header, sizeof header); // little-endian host
    uint32_t state = 2463534242u + static_cast<uint32_t>(index);
    for (int32_t i = 0; i < length; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[512 + i] = static_cast<char>(state);
    }
    return bytes;
}

QStringList writeRecordings(const QString &folder)
{
    QStringList paths;
    QByteArray list;
    for (int i = 0; i < kRecordings; ++i) {
        const QString name = QStringLiteral("rec%1.krd").arg(i + 1, 2, 10, QLatin1Char('0'));
        QFile file(QDir(folder).filePath(name));
        const QByteArray bytes = recordingBytes(i);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write the recordings");
        paths << file.fileName();
        list += name.toLatin1() + "\r\n";
    }
    QFile listFile(QDir(folder).filePath(QStringLiteral("all.pls")));
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(list) != list.size())
        throw std::runtime_error("cannot write the list");
    return paths;
}

void readWhole(const QString &path, std::vector<char> &buffer)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot read a recording");
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

void writeLength(const QString &path, qint64 length, const std::vector<char> &buffer)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot write the floor's file");
    for (qint64 left = length; left > 0;) {
        const auto chunk = static_cast<size_t>(std::min<qint64>(left, static_cast<qint64>(buffer.size())));
        if (::write(fd, buffer.data(), chunk) != static_cast<ssize_t>(chunk))
            throw std::runtime_error("cannot write the floor's file");
        left -= static_cast<qint64>(chunk);
    }
    ::close(fd);
}

// The machine is shared: a median is not moved by the odd slow write-back.
double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <typename Work>
double timed(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_BuildImageVersusIoFloor(benchmark::State &state)
{
    QTemporaryDir dir;
    const QStringList paths = writeRecordings(dir.path());
    RecordingTable table;
    writeHeaderRow(table);
    for (const QString &path : paths)
        appendRecordingRow(table, path, readRecordingFile(path).header);
    const QString image = dir.filePath(QStringLiteral("out.bkr"));
    const QString floorFile = dir.filePath(QStringLiteral("floor.bin"));
    const qint64 length = BuildImage(table, image); // also warms the cache
    std::vector<char> buffer(1 << 20);

    const auto floor = [&] {
        for (int pass = 0; pass < 2; ++pass)
            for (const QString &path : paths)
                readWhole(path, buffer);
        writeLength(floorFile, length, buffer);
    };
    const auto build = [&] { BuildImage(table, image); };

    std::vector<double> floorSeconds;
    std::vector<double> buildSeconds;
    bool floorFirst = true;
    for (auto _ : state) {
        // Each goes first every other time, so neither always meets the
        // other's write-back.
        if (floorFirst) {
            floorSeconds.push_back(timed(floor));
            buildSeconds.push_back(timed(build));
        } else {
            buildSeconds.push_back(timed(build));
            floorSeconds.push_back(timed(floor));
        }
        floorFirst = !floorFirst;
        state.SetIterationTime(buildSeconds.back());
    }
    const double floorMedian = median(floorSeconds);
    const double buildMedian = median(buildSeconds);
    state.counters["floor_ms"] = 1000 * floorMedian;
    state.counters["build_ms"] = 1000 * buildMedian;
    state.counters["ratio"] = buildMedian / floorMedian;
    state.SetBytesProcessed(state.iterations() * length);
}
BENCHMARK(BM_BuildImageVersusIoFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-recordings") == 0) {
        writeRecordings(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
