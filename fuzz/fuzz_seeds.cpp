// Writes the fuzz targets' seed inputs, taken from the tests' fixtures, into
// FOLDER/<target>/: recording files, list files, device answers, images
// built from recordings and the device's replies during an upload.
#include "image/build_image.h"
#include "table/recording_file.h"
#include "tests/support/recording_files.h"
#include "tools/demo/adpcm_encoder.h"
#include "tools/demo/sound_signals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Seed {
    std::string name;
    QByteArray bytes;
};

void writeSeeds(const QDir &folder, const char *target, const std::vector<Seed> &seeds)
{
    if (!folder.mkpath(QLatin1String(target)))
        throw std::runtime_error(std::string("cannot make the seed folder ") + target);
    for (const Seed &seed : seeds)
        writeFile(folder.filePath(QStringLiteral("%1/%2").arg(QLatin1String(target), QString::fromStdString(seed.name))), seed.bytes);
}

std::vector<Seed> recordings()
{
    RecordingFields lowerCase{0, 0, 0, 0, {}};
    lowerCase.magic = "krod";
    return {
        {"tone", recordingBytes({1000, 2000, 2500, 0, QByteArray(1000, '\x01')})},
        {"adpcm-odd-count", recordingBytes({2, 3, 100, 0, "\x77\x77"})},
        {"adpcm-sine", recordingBytes({1100, 2200, 100, 0, adpcmFollowing(toneSamples(440, 2200, 8000))})},
        {"pcm8", recordingBytes({4, 4, 100, 1, QByteArray("\x00\x7F\x80\xFF", 4)})},
        {"pcm16", recordingBytes({4, 2, 100, 2, "\x01\x02\x03\x04"})},
        {"unknown-type-short-data", recordingBytes({1000, 2000, 0, static_cast<int8_t>(0x80), QByteArray(10, '\x02')})},
        {"negative-count", recordingBytes({0, -7, -2500, 0, {}})},
        {"long-durations", recordingBytes({0, 0, 1234567, 0, {}})},
        {"lower-case-magic", recordingBytes(lowerCase)},
        {"cut-header", recordingBytes({}).left(511)},
    };
}

std::vector<Seed> lists()
{
    return {
        {"blank-lines", "a.krd\r\n\r\n   \r\n  b c.krd\r\n\td.krd\tcomment\n"},
        {"trailing-blanks", "  my tone.krd  \r\n"},
        {"windows-1251", "\xE7\xE2\xF3\xEA \xEE\xE4\xE8\xED.krd\r\nb.krd\r\n"},
        {"zero-bytes", QByteArray("a\0hidden\nb\n\0x\n", 14)},
        {"long-line", QByteArray(1500, 'n') + "\r\nlast\r\n"},
        {"utf-16", QByteArray("\xFF\xFE" "a\0.\0k\0r\0d\0\r\0\n\0", 16)},
        {"unassigned-byte", "\x98.krd\r\n"},
    };
}

std::vector<Seed> answers()
{
    const QByteArray replies[] = {
        "Select mode. T (test) or L (loading) >\r\n",
        "\r\nK3 v2\r\nSelect mode. T (test) or L (loading) >",
        "V1.0, B8192, S1056, R99\r\n",
        "V1.0,B8192,S1056,R99",
        "V2.13,  B 4096,\t S\r\n1056,R99 more",
        "V-1.+0, B+4096, S+1056, R+99",
        "V1.0, B4096, S1996, R131",
        "V1.0, B99999999999, S1056, R99",
        QByteArray("V1.0, B4096\0, S1056, R99", 24),
    };
    std::vector<Seed> seeds;
    int number = 0;
    for (const QByteArray &reply : replies) {
        ++number;
        seeds.push_back({"manual-" + std::to_string(number), '\0' + reply});
        seeds.push_back({"automatic-" + std::to_string(number), '\1' + reply});
    }
    return seeds;
}

struct NamedRecording {
    QString name;
    RecordingFields fields;
};

QByteArray imageOf(const QDir &folder, const std::vector<NamedRecording> &recordings)
{
    RecordingTable table;
    writeHeaderRow(table);
    for (const NamedRecording &recording : recordings) {
        const QString path = writeRecording(folder.filePath(recording.name), recording.fields);
        appendRecordingRow(table, path, readRecordingFile(path).header);
    }
    const QString image = folder.filePath(QStringLiteral("image.bkr"));
    BuildImage(table, image);
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the image back");
    return file.readAll();
}

std::vector<NamedRecording> named(const std::vector<RecordingFields> &specs)
{
    std::vector<NamedRecording> recordings;
    for (const RecordingFields &fields : specs)
        recordings.push_back({QStringLiteral("r%1.krd").arg(recordings.size()), fields});
    return recordings;
}

// 131 empty recordings: the directory page holds no more.
std::vector<NamedRecording> fullestDirectory()
{
    return named(std::vector<RecordingFields>(131, RecordingFields{}));
}

// 99 names whose lines and the catalogue's zero fill pages 1 to 3 exactly.
std::vector<NamedRecording> fullestCatalogue()
{
    std::vector<NamedRecording> recordings;
    for (int row = 1; row <= 99; ++row) {
        const QString name = QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')).leftJustified(row < 99 ? 23 : 22, 'x');
        recordings.push_back({name + ".krd", {}});
    }
    return recordings;
}

std::vector<Seed> images(const QDir &scratch)
{
    const QByteArray mixed = imageOf(scratch, named({{1056, 5, 0, 1, QByteArray(1056, '\x0A')},
                                                     {0, 0, 0, 0, {}},
                                                     {1057, 70000, 0, 2, QByteArray(1057, '\x0B')},
                                                     {1000, 2000, 0, static_cast<int8_t>(0x80), QByteArray(10, '\x02')}}));
    return {
        {"empty", imageOf(scratch, {})},
        {"tone", imageOf(scratch, named({{1000, 2000, 0, 0, QByteArray(1000, '\x01')}}))},
        {"whole-pages", imageOf(scratch, named({{1056, 1, 0, 0, QByteArray(1056, '\x03')},
                                                {1057, 2, 0, 1, QByteArray(1057, '\x04')}}))},
        {"mixed", mixed},
        {"cut-in-the-catalogue", mixed.left(3000)},
        {"cut-in-the-directory", mixed.left(4230)},
        {"fullest-directory", imageOf(scratch, fullestDirectory())},
        {"fullest-catalogue", imageOf(scratch, fullestCatalogue())},
    };
}

// Reply sequences: model byte (0: short blocks, 1: page blocks), the file's
// length in two bytes, low first, then the device's bytes.
std::vector<Seed> replies()
{
    const auto upload = [](char model, uint16_t length, const QByteArray &bytes) {
        return QByteArray(1, model) + char(length & 0xFF) + char(length >> 8) + bytes;
    };
    const QByteArray stray("Sel\r\n\0", 6);
    return {
        {"short-whole", upload(0, 300, "\x15\x06\x06\x06")},
        {"short-naks", upload(0, 300, "\x15\x15\x06\x15\x15\x06\x06")},
        {"short-cancel", upload(0, 300, "\x15\x06\x18\x06")},
        {"short-stray", upload(0, 200, stray + "\x15" + stray + "\x06" + stray + "\x06")},
        {"short-early-ack", upload(0, 128, "\x06\x15\x06")},
        {"short-wrap", upload(0, 33000, QByteArray(1, '\x15') + QByteArray(260, '\x06'))},
        {"page-whole", upload(1, 3000, "\x06\x15\x06\x06")},
        {"page-empty", upload(1, 0, "\x06")},
        {"page-cancel", upload(1, 5000, "\x06\x18")},
    };
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    try {
        const QDir folder(QString::fromLocal8Bit(argv[1]));
        QTemporaryDir scratch;
        writeSeeds(folder, "fuzz_recording_file", recordings());
        writeSeeds(folder, "fuzz_wav_image", recordings());
        writeSeeds(folder, "fuzz_list_line", lists());
        writeSeeds(folder, "fuzz_version_line", answers());
        writeSeeds(folder, "fuzz_image_reader", images(QDir(scratch.path())));
        writeSeeds(folder, "fuzz_receive_step", replies());
    } catch (const std::exception &error) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.what());
        return 1;
    }
    return 0;
}
