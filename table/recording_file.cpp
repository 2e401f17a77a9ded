#include "table/recording_file.h"

#include "core/operation_error.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int32_t int32At(const char *bytes, int offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
    return static_cast<int32_t>(value);
}

// A positive value's 15 significant decimal digits, as a decimal calculator
// would hold them, and the decimal position of the first one.
struct Decimal {
    char digits[15];
    int exponent;

    int digitAt(int position) const
    {
        const int index = exponent - position;
        return index >= 0 && index < 15 ? digits[index] - '0' : 0;
    }

    // Rounded half up at a decimal position (0: units, -1: tenths, 1: tens),
    // as a count of units of that position.
    int64_t unitsAt(int position) const
    {
        int64_t units = 0;
        for (int p = exponent; p >= position; --p)
            units = units * 10 + digitAt(p);
        return digitAt(position - 1) >= 5 ? units + 1 : units;
    }
};

Decimal decimalOf(double positive)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.14e", positive);
    Decimal decimal;
    decimal.digits[0] = text[0];
    std::memcpy(decimal.digits + 1, text + 2, 14);
    decimal.exponent = std::atoi(std::strchr(text, 'e') + 1);
    return decimal;
}

} // namespace

RecordingHeader RecordingHeader::parse(const char *bytes)
{
    RecordingHeader header;
    header.magic = QByteArray(bytes, 4);
    header.dataLength = int32At(bytes, 4);
    header.sampleCount = int32At(bytes, 8);
    header.durationMs = int32At(bytes, 12);
    header.encodingType = static_cast<int8_t>(bytes[16]);
    return header;
}

RecordingFile readRecordingFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return {RecordingCheck::Missing, {}};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw OperationError(QStringLiteral("Не удалось открыть файл %1: %2")
                                 .arg(path, file.errorString()));
    char bytes[RecordingHeader::kSize];
    const qint64 read = file.read(bytes, sizeof bytes);
    if (read < 0)
        throw OperationError(QStringLiteral("Не удалось прочитать файл %1: %2")
                                 .arg(path, file.errorString()));
    if (read < RecordingHeader::kSize)
        return {RecordingCheck::WrongFormat, {}};

    RecordingHeader header = RecordingHeader::parse(bytes);
    if (!header.hasMagic())
        return {RecordingCheck::WrongFormat, {}};
    return {RecordingCheck::Valid, header};
}

QString recordingWarning(const QString &path, RecordingCheck check)
{
    return check == RecordingCheck::Missing
               ? QStringLiteral("Файл ") + path + QStringLiteral(" не найден")
               : QStringLiteral("Файл ") + path + QStringLiteral(" - неверный формат");
}

void appendRecordingRow(RecordingTable &table, const QString &path, const RecordingHeader &header)
{
    const int row = table.rowCount();
    table.setRowCount(row + 1);
    const QString size = QString::number(header.dataLength);
    table.setCell(row, ColFileName, fileNameOf(path));
    table.setCell(row, ColSeconds, secondsText(header.durationMs, QLocale().decimalPoint().front()));
    table.setCell(row, ColSize, size);
    table.setCell(row, ColPath, path);
    table.setCell(row, ColTypeNumber, QString::number(header.encodingType));
    table.setCell(row, ColSizeCopy, size);
    table.setCell(row, ColEnabled, QStringLiteral("1"));
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString secondsText(int32_t durationMs, QChar decimalPoint)
{
    const double seconds = durationMs * 0.001;
    const double magnitude = std::fabs(seconds);
    if (magnitude == 0)
        return QStringLiteral("0") + decimalPoint + QLatin1Char('0');

    // Keep three significant digits, but never more than one decimal.
    const Decimal decimal = decimalOf(magnitude);
    const int position = std::max(decimal.exponent - 2, -1);
    const int64_t units = decimal.unitsAt(position);

    QString text;
    const bool fixed = position == -1 || (position == 0 && units < 1000);
    if (fixed) {
        const int64_t whole = position == -1 ? units / 10 : units;
        const int64_t tenths = position == -1 ? units % 10 : 0;
        text = QString::number(whole) + decimalPoint + QString::number(tenths);
    } else {
        QString mantissa = QString::number(units);
        const int exponent = position + static_cast<int>(mantissa.size()) - 1;
        while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        text = mantissa.left(1);
        if (mantissa.size() > 1)
            text += decimalPoint + mantissa.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    }
    const bool shownAsZero = units == 0;
    return seconds < 0 && !shownAsZero ? QLatin1Char('-') + text : text;
}
