// inspectImage over any file. What it accepts must keep every promise of the
// format, checked here byte by byte with plain loops; what it refuses must
// name a place inside the file. An input whose only fault would be its
// checksum byte is also inspected with that byte set right, so that images
// with any layout reach the acceptance.
#include "fuzz/fuzz_support.h"
#include "image/image_format.h"
#include "image/image_reader.h"

namespace {

uint8_t plainSum(const QByteArray &bytes, qsizetype from)
{
    unsigned sum = 0;
    for (qsizetype i = from; i < bytes.size(); ++i)
        sum += static_cast<uint8_t>(bytes[i]);
    return static_cast<uint8_t>(sum);
}

uint32_t littleEndian24(const char *bytes)
{
    return littleEndian16(bytes) | uint32_t{static_cast<uint8_t>(bytes[2])} << 16;
}

// The catalogue's lines "%2d. name\n" from offset 1056, then a zero byte
// inside the catalogue area; returns the number of lines.
int catalogueLines(const QByteArray &image)
{
    qsizetype at = kCatalogueOffset;
    int lines = 0;
    while (image[at] != '\0') {
        const QByteArray prefix = catalogueLinePrefix(++lines);
        FUZZ_CHECK(image.mid(at, prefix.size()) == prefix);
        const qsizetype end = image.indexOf('\n', at);
        FUZZ_CHECK(end > at && end < kDirectoryOffset);
        for (qsizetype i = at + prefix.size(); i < end; ++i)
            FUZZ_CHECK(static_cast<uint8_t>(image[i]) >= 0x20);
        at = end + 1;
    }
    FUZZ_CHECK(at < kDirectoryOffset);
    for (qsizetype i = at + 1; i < kDirectoryOffset; ++i)
        FUZZ_CHECK(static_cast<uint8_t>(image[i]) == 0xFF);
    return lines;
}

void checkAccepted(const QByteArray &image, const ImageInspection &inspection)
{
    // What follows the image can only be an upload's FF fill, under a page.
    const qsizetype length = image.size() - inspection.uploadFill;
    FUZZ_CHECK(inspection.uploadFill >= 0 && inspection.uploadFill < kImagePageSize);
    FUZZ_CHECK(image.sliced(length).count('\xFF') == inspection.uploadFill);
    FUZZ_CHECK(length >= kDataOffset && length % kImagePageSize == 0);
    FUZZ_CHECK(plainSum(image.first(length), kDirectoryOffset) == 0);
    FUZZ_CHECK(static_cast<uint8_t>(image[0]) == kHeaderMark && image[1] == '\0');
    for (qsizetype i = 2; i < kCatalogueOffset; ++i)
        FUZZ_CHECK(static_cast<uint8_t>(image[i]) == 0xFF);

    const std::vector<DirectoryEntry> &directory = inspection.directory;
    FUZZ_CHECK(directory.size() <= size_t{kMaxEntries});
    FUZZ_CHECK(catalogueLines(image) == static_cast<int>(directory.size()));
    FUZZ_CHECK(inspection.catalogue.size() == static_cast<qsizetype>(directory.size()));

    int64_t pages = 0;
    for (size_t i = 0; i < directory.size(); ++i) {
        const DirectoryEntry &entry = directory[i];
        const char *bytes = image.constData() + kDirectoryOffset + kEntrySize * qsizetype(i);
        FUZZ_CHECK(littleEndian16(bytes) == entry.startAddress);
        FUZZ_CHECK(littleEndian24(bytes + 2) == negated24(entry.sampleCount));
        FUZZ_CHECK(static_cast<uint8_t>(bytes[5]) == entry.encodingType);
        FUZZ_CHECK(bytes[6] == '\0' && bytes[7] == '\0');
        FUZZ_CHECK(entry.startAddress == kFirstAddress + pages * kUnitsPerPage);
        FUZZ_CHECK(entry.pages >= 0);
        pages += entry.pages;
    }
    const qsizetype end = kDirectoryOffset + kEntrySize * qsizetype(directory.size());
    FUZZ_CHECK(static_cast<uint8_t>(image[end]) == 0xFF && static_cast<uint8_t>(image[end + 1]) == 0xFF);
    FUZZ_CHECK(littleEndian24(image.constData() + end + 2) == negated24(length - kDirectoryOffset));
    for (qsizetype i = end + kEndEntrySize; i < kChecksumOffset; ++i)
        FUZZ_CHECK(image[i] == '\0');
    // The recordings' pages end where the image ends.
    if (!directory.empty())
        FUZZ_CHECK(kDataOffset + pages * kImagePageSize == length);
}

ImageInspection inspected(const ScratchFile &file, const QByteArray &image)
{
    file.write(image);
    const ImageInspection inspection = inspectImage(file.path());
    FUZZ_CHECK(inspection.fileLength == image.size());
    if (inspection.consistent())
        checkAccepted(image, inspection);
    else
        FUZZ_CHECK(inspection.fault->offset >= 0 && inspection.fault->offset <= image.size()
                   && !inspection.fault->text.isEmpty());
    FUZZ_CHECK(inspection.catalogue.size() >= static_cast<qsizetype>(inspection.directory.size()));
    return inspection;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const ScratchFile file("image.bkr");
    const QByteArray image = inputBytes(data, size);
    const ImageInspection inspection = inspected(file, image);
    // In a file of five pages or more, no other fault is reported there.
    if (inspection.consistent() || image.size() < kDataOffset || inspection.fault->offset != kChecksumOffset)
        return 0;
    // The checksum region ends where an upload's fill begins.
    const QByteArray region = image.first(image.size() - inspection.uploadFill);
    QByteArray corrected = image;
    corrected[kChecksumOffset] = static_cast<char>(corrected[kChecksumOffset] - plainSum(region, kDirectoryOffset));
    FUZZ_CHECK(inspected(file, corrected).consistent());
    return 0;
}
