#include "image/build_image.h"

#include "core/operation_error.h"
#include "image/image_format.h"
#include "image/image_plan.h"
#include "image/replacing_file.h"
#include "table/recording_file.h"

#include <QFile>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr qint64 kBlockSize = 128 * 1024;

void putLittleEndian(QByteArray &bytes, int offset, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The header page and the catalogue area: pages 0 to 3.
QByteArray headPages(const ImagePlan &plan)
{
    QByteArray head(kDirectoryOffset, '\xFF');
    head[0] = static_cast<char>(kHeaderMark);
    head[1] = '\0';
    head.replace(kCatalogueOffset, plan.catalogue.size(), plan.catalogue);
    head[kCatalogueOffset + plan.catalogue.size()] = '\0';
    return head;
}

// The directory page; its last byte makes the 8-bit sum of the checksum
// region zero, given the sum of all recording data.
QByteArray directoryPage(const ImagePlan &plan, uint32_t dataSum)
{
    QByteArray page(kImagePageSize, '\0');
    int offset = 0;
    for (const PlannedRecording &recording : plan.recordings) {
        putLittleEndian(page, offset, static_cast<uint32_t>(recording.startAddress), 2);
        putLittleEndian(page, offset + 2, negated24(recording.sampleCount), 3);
        page[offset + 5] = static_cast<char>(recording.encodingType);
        offset += kEntrySize;
    }
    page[offset] = kEndMark;
    page[offset + 1] = kEndMark;
    putLittleEndian(page, offset + 2, negated24(plan.regionLength()), 3);
    const uint32_t sum = byteSum(page.constData(), page.size()) + dataSum;
    page[kImagePageSize - 1] = static_cast<char>(-sum & 0xFF);
    return page;
}

// Hands the data bytes that follow a recording's header to consume, block
// by block. Bytes past the end of a short file read as 0xFF.
template <typename Consume>
void readRecordingData(const PlannedRecording &recording, QByteArray &buffer, Consume &&consume)
{
    QFile file(recording.path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !file.seek(RecordingHeader::kSize))
        throw OperationError(QStringLiteral("Не удалось открыть файл %1: %2")
                                 .arg(recording.path, file.errorString()));
    char *block = buffer.data();
    bool atEnd = false;
    for (qint64 left = recording.dataLength; left > 0;) {
        const qint64 wanted = std::min(left, qint64{buffer.size()});
        qint64 read = 0;
        while (!atEnd && read < wanted) {
            const qint64 got = file.read(block + read, wanted - read);
            if (got < 0)
                throw OperationError(QStringLiteral("Не удалось прочитать файл %1: %2")
                                         .arg(recording.path, file.errorString()));
            atEnd = got == 0;
            read += got;
        }
        std::memset(block + read, 0xFF, static_cast<size_t>(wanted - read));
        consume(block, wanted);
        left -= wanted;
    }
}

} // namespace

qint64 BuildImage(const RecordingTable &table, const QString &path)
{
    const ImagePlan plan = planImage(table);
    QByteArray buffer(kBlockSize, Qt::Uninitialized);

    uint32_t dataSum = 0;
    for (const PlannedRecording &recording : plan.recordings)
        readRecordingData(recording, buffer, [&](const char *bytes, qint64 length) {
            dataSum += byteSum(bytes, length);
        });

    ReplacingFile image(path);
    image.write(headPages(plan));
    image.write(directoryPage(plan, dataSum));
    const QByteArray zeros(kImagePageSize, '\0');
    for (const PlannedRecording &recording : plan.recordings) {
        readRecordingData(recording, buffer, [&](const char *bytes, qint64 length) {
            image.write(bytes, length);
        });
        const int tail = recording.dataLength % kImagePageSize;
        if (tail)
            image.write(zeros.constData(), kImagePageSize - tail);
    }
    image.commit();
    return plan.imageLength();
}
