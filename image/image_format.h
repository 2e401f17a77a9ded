#pragma once

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstring>

// Layout of the flash image. These sizes belong to the image itself and do
// not follow the device profile's page size.
inline constexpr int kImagePageSize = 1056;
inline constexpr int kCatalogueOffset = 1056;  // pages 1 to 3: the catalogue text
inline constexpr int kDirectoryOffset = 4224;  // page 4; the checksum region starts here
inline constexpr int kCatalogueCapacity = kDirectoryOffset - kCatalogueOffset; // text and its zero
inline constexpr int kChecksumOffset = 5279;   // the directory page's last byte
inline constexpr int kDataOffset = 5280;
inline constexpr int kEntrySize = 8;
inline constexpr int kEndEntrySize = 5;
// Entries that leave room for the end entry and the checksum byte.
inline constexpr int kMaxEntries = (kChecksumOffset - kDirectoryOffset - kEndEntrySize) / kEntrySize;

// Start addresses count in units of 132 bytes, eight to an image page.
inline constexpr int kUnitsPerPage = 8;
inline constexpr int32_t kFirstAddress = kDataOffset / (kImagePageSize / kUnitsPerPage);
inline constexpr int64_t kAddressLimit = int64_t{1} << 16;  // start addresses are 16-bit
inline constexpr int64_t kField24Limit = int64_t{1} << 24;  // sample counts, region length

inline constexpr uint8_t kHeaderMark = 0x06;
inline constexpr char kEndMark = '\xFF'; // both bytes of the end entry's address field

// Image pages a recording of dataLength bytes takes (dataLength >= 0).
constexpr int64_t imagePagesOf(int64_t dataLength)
{
    return (dataLength + kImagePageSize - 1) / kImagePageSize;
}

// A negated value as 24-bit two's complement, the way the directory stores
// sample counts and the region length.
constexpr uint32_t negated24(int64_t value)
{
    return static_cast<uint32_t>(-value) & 0xFFFFFF;
}

// "%2d. ": the catalogue line's number, a space before 1 to 9.
inline QByteArray catalogueLinePrefix(int number)
{
    return QByteArray::number(number).rightJustified(2, ' ') + ". ";
}

// The checksum region's arithmetic: the 8-bit sum of the bytes. Eight bytes
// are added at a time, the even and the odd ones into four 16-bit lanes
// each, which are gathered before they can overflow.
inline uint8_t byteSum(const char *bytes, qint64 length)
{
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFu;
    constexpr qint64 kWordsPerRound = 128; // 128 x 2 x 255 fits a 16-bit lane
    uint32_t sum = 0;
    qint64 i = 0;
    while (length - i >= 8) {
        uint64_t lanes = 0;
        for (const qint64 end = i + 8 * std::min(kWordsPerRound, (length - i) / 8); i < end; i += 8) {
            uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            lanes += (word & kEvenBytes) + ((word >> 8) & kEvenBytes);
        }
        for (; lanes; lanes >>= 16)
            sum += static_cast<uint32_t>(lanes & 0xFFFF);
    }
    for (; i < length; ++i)
        sum += static_cast<uint8_t>(bytes[i]);
    return static_cast<uint8_t>(sum);
}
