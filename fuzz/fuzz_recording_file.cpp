// readRecordingFile over any file contents, and the row its header makes.
#include "fuzz/fuzz_support.h"
#include "table/recording_file.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

// Three significant digits with at most one decimal: off by at most half a
// unit of the last digit shown.
void checkSecondsText(const QString &text, int32_t durationMs)
{
    const QChar point = QLocale().decimalPoint().front();
    static const QRegularExpression shape(QStringLiteral("^-?(\\d{1,3}\\%1\\d|[1-9](\\%1\\d{1,2})?E[3-9])$").arg(point));
    FUZZ_CHECK(shape.match(text).hasMatch());

    QString plain = text;
    plain.replace(point, QLatin1Char('.'));
    bool parsed = false;
    const double shown = plain.toDouble(&parsed);
    FUZZ_CHECK(parsed);
    const double seconds = durationMs * 0.001;
    const double allowed = std::max(0.05, std::fabs(seconds) * 0.005) * (1 + 1e-9);
    FUZZ_CHECK(std::fabs(shown - seconds) <= allowed);
    FUZZ_CHECK(text.startsWith(QLatin1Char('-')) == (shown < 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const ScratchFile file("recording.krd");
    const QByteArray bytes = inputBytes(data, size);
    file.write(bytes);

    const RecordingFile read = readRecordingFile(file.path());
    const bool valid = bytes.size() >= RecordingHeader::kSize && bytes.startsWith("KROD");
    FUZZ_CHECK(read.check == (valid ? RecordingCheck::Valid : RecordingCheck::WrongFormat));
    if (!valid)
        return 0;

    const RecordingHeader &header = read.header;
    FUZZ_CHECK(header.hasMagic());
    FUZZ_CHECK(static_cast<uint32_t>(header.dataLength) == littleEndian32(bytes.constData() + 4));
    FUZZ_CHECK(static_cast<uint32_t>(header.sampleCount) == littleEndian32(bytes.constData() + 8));
    FUZZ_CHECK(static_cast<uint32_t>(header.durationMs) == littleEndian32(bytes.constData() + 12));
    FUZZ_CHECK(header.encodingType == static_cast<int8_t>(bytes[16]));

    RecordingTable table;
    writeHeaderRow(table);
    appendRecordingRow(table, file.path(), header);
    FUZZ_CHECK(table.rowCount() == 2);
    FUZZ_CHECK(table.cell(1, ColPath) == file.path());
    FUZZ_CHECK(table.cell(1, ColFileName) == file.path().section(QLatin1Char('/'), -1));
    FUZZ_CHECK(table.cell(1, ColSize).toLongLong() == header.dataLength);
    FUZZ_CHECK(table.cell(1, ColSizeCopy) == table.cell(1, ColSize));
    FUZZ_CHECK(table.cell(1, ColTypeNumber).toInt() == header.encodingType);
    FUZZ_CHECK(table.cell(1, ColEnabled) == QStringLiteral("1"));
    checkSecondsText(table.cell(1, ColSeconds), header.durationMs);
    return 0;
}
