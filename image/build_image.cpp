#include "image/build_image.h"

#include "core/operation_error.h"
#include "image/image_format.h"
#include "image/image_plan.h"
#include "image/replacing_file.h"
#include "table/recording_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr qint64 kBlockSize = 1024 * 1024;

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
QByteArray directoryPage(const ImagePlan &plan, uint8_t dataSum)
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
    const auto sum = static_cast<uint8_t>(byteSum(page.constData(), page.size()) + dataSum);
    page[kImagePageSize - 1] = static_cast<char>(-sum);
    return page;
}

// Reads the next length data bytes of a recording; bytes past the end of a
// short file read as 0xFF.
void readData(const PlannedRecording &recording, char *bytes, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        const qint64 got = recording.file->read(bytes + done, length - done);
        if (got < 0)
            throw OperationError(QStringLiteral("Не удалось прочитать файл %1: %2")
                                     .arg(recording.path, recording.file->errorString()));
        if (got == 0)
            break;
        done += got;
    }
    std::memset(bytes + done, 0xFF, static_cast<size_t>(length - done));
}

void rewindToData(const PlannedRecording &recording)
{
    if (!recording.file->seek(RecordingHeader::kSize))
        throw OperationError(QStringLiteral("Не удалось прочитать файл %1: %2")
                                 .arg(recording.path, recording.file->errorString()));
}

uint8_t dataSumOf(const ImagePlan &plan, QByteArray &buffer)
{
    uint8_t sum = 0;
    for (const PlannedRecording &recording : plan.recordings) {
        for (qint64 left = recording.dataLength; left > 0;) {
            const qint64 length = std::min(left, qint64{buffer.size()});
            readData(recording, buffer.data(), length);
            sum = static_cast<uint8_t>(sum + byteSum(buffer.constData(), length));
            left -= length;
        }
    }
    return sum;
}

// Gathers the data pages into large blocks: recordings are read straight
// into the block that is written next.
class DataPages
{
public:
    DataPages(ReplacingFile &image, QByteArray &block) : image_(image), block_(block) {}

    // fill(bytes, length) writes length bytes at bytes; called once per
    // piece of room in the block.
    template <typename Fill>
    void append(qint64 length, Fill &&fill)
    {
        while (length > 0) {
            const qint64 piece = std::min(length, block_.size() - used_);
            fill(block_.data() + used_, piece);
            used_ += piece;
            length -= piece;
            if (used_ == block_.size())
                flush();
        }
    }

    void flush()
    {
        image_.write(block_.constData(), used_);
        used_ = 0;
    }

private:
    ReplacingFile &image_;
    QByteArray &block_;
    qint64 used_ = 0;
};

} // namespace

qint64 BuildImage(const RecordingTable &table, const QString &path)
{
    const ImagePlan plan = planImage(table);
    QByteArray buffer(kBlockSize, Qt::Uninitialized);
    const uint8_t dataSum = dataSumOf(plan, buffer);

    ReplacingFile image(path);
    image.write(headPages(plan));
    image.write(directoryPage(plan, dataSum));
    DataPages pages(image, buffer);
    for (const PlannedRecording &recording : plan.recordings) {
        rewindToData(recording);
        pages.append(recording.dataLength, [&](char *bytes, qint64 length) { readData(recording, bytes, length); });
        const qint64 padding = imagePagesOf(recording.dataLength) * kImagePageSize - recording.dataLength;
        pages.append(padding, [](char *bytes, qint64 length) { std::memset(bytes, 0, static_cast<size_t>(length)); });
    }
    pages.flush();
    image.commit();
    return plan.imageLength();
}
