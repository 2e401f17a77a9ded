#include "image/image_reader.h"

#include "core/operation_error.h"
#include "image/image_format.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr qint64 kBlockSize = 128 * 1024;

QString hexByte(uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// Walks the image from its first byte and stops at the first fault.
class ImageInspector
{
public:
    ImageInspector(QFile &file, ImageInspection &result) : file_(file), result_(result) {}

    void run()
    {
        result_.fileLength = file_.size();
        head_ = readBlock(kDataOffset);
        (void)(checkHeaderPage() && readCatalogue() && readDirectory() && checkEndEntry()
               && checkLength() && checkSum());
    }

private:
    bool fault(qint64 offset, const QString &text)
    {
        result_.fault = ImageFault{offset, text};
        return false;
    }

    QByteArray readBlock(qint64 length)
    {
        QByteArray block = file_.read(length);
        if (file_.error() != QFileDevice::NoError)
            throw OperationError(QStringLiteral("Не удалось прочитать файл %1: %2")
                                     .arg(file_.fileName(), file_.errorString()));
        return block;
    }

    // Whether the first five pages reach up to end; a fault where the file
    // ends before.
    bool within(qint64 end)
    {
        return end <= head_.size() || fault(head_.size(), QStringLiteral("файл обрывается"));
    }

    bool byteAt(qint64 offset, uint8_t &value)
    {
        if (!within(offset + 1))
            return false;
        value = static_cast<uint8_t>(head_[offset]);
        return true;
    }

    bool expectByte(qint64 offset, uint8_t expected, const QString &where)
    {
        uint8_t value = 0;
        if (!byteAt(offset, value))
            return false;
        if (value != expected)
            return fault(offset, QStringLiteral("%1: ожидался байт %2, записан %3")
                                     .arg(where, hexByte(expected), hexByte(value)));
        return true;
    }

    bool expectFill(qint64 from, qint64 to, uint8_t expected, const QString &where)
    {
        for (qint64 offset = from; offset < to; ++offset)
            if (!expectByte(offset, expected, where))
                return false;
        return true;
    }

    uint32_t littleEndianAt(qint64 offset, int width)
    {
        uint32_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | static_cast<uint8_t>(head_[offset + i]);
        return value;
    }

    bool checkHeaderPage()
    {
        const QString where = QStringLiteral("страница заголовка");
        return expectByte(0, kHeaderMark, where) && expectByte(1, 0x00, where)
               && expectFill(2, kCatalogueOffset, 0xFF, where);
    }

    bool readCatalogue()
    {
        qint64 offset = kCatalogueOffset;
        for (int number = 1;; ++number) {
            uint8_t first = 0;
            if (offset >= kDirectoryOffset)
                return fault(offset, QStringLiteral("каталог не кончается нулевым байтом до оглавления"));
            if (!byteAt(offset, first))
                return false;
            if (first == 0x00)
                break;
            if (!readCatalogueLine(number, offset))
                return false;
        }
        return expectFill(offset + 1, kDirectoryOffset, 0xFF, QStringLiteral("заполнение после каталога"));
    }

    // "%2d. name\n" from offset on; offset ends past the line feed.
    bool readCatalogueLine(int number, qint64 &offset)
    {
        const QString where = QStringLiteral("каталог, строка %1").arg(number);
        for (const char expected : catalogueLinePrefix(number))
            if (!expectByte(offset++, static_cast<uint8_t>(expected), where))
                return false;
        const qint64 nameStart = offset;
        for (uint8_t byte = 0;; ++offset) {
            if (offset >= kDirectoryOffset)
                return fault(offset, where + QStringLiteral(": строка не кончается до оглавления"));
            if (!byteAt(offset, byte))
                return false;
            if (byte == '\n')
                break;
            if (byte < 0x20)
                return fault(offset, where + QStringLiteral(": управляющий байт %1 в имени файла").arg(hexByte(byte)));
        }
        result_.catalogue << windows1251_.decode(head_.mid(nameStart, offset - nameStart));
        ++offset;
        return true;
    }

    bool readDirectory()
    {
        const auto lines = static_cast<int>(result_.catalogue.size());
        for (int index = 0;; ++index) {
            const qint64 offset = kDirectoryOffset + qint64{kEntrySize} * index;
            uint8_t low = 0;
            uint8_t high = 0;
            if (!byteAt(offset, low) || !byteAt(offset + 1, high))
                return false;
            if (low == 0xFF && high == 0xFF) {
                endEntryOffset_ = offset;
                if (index < lines)
                    return fault(offset, QStringLiteral("оглавление кончается раньше каталога: записей %1, строк %2")
                                             .arg(index)
                                             .arg(lines));
                return true;
            }
            if (index == kMaxEntries)
                return fault(offset, QStringLiteral("в оглавлении нет концевой записи (записей: %1)").arg(index));
            if (index == lines)
                return fault(offset, QStringLiteral("у записи %1 оглавления нет строки в каталоге").arg(index + 1));
            if (!within(offset + kEntrySize) || !readEntry(offset, index))
                return false;
        }
    }

    bool readEntry(qint64 offset, int index)
    {
        const QString where = QStringLiteral("запись %1 оглавления").arg(index + 1);
        DirectoryEntry entry;
        entry.startAddress = static_cast<int32_t>(littleEndianAt(offset, 2));
        entry.sampleCount = static_cast<int32_t>(negated24(littleEndianAt(offset + 2, 3)));
        entry.encodingType = static_cast<uint8_t>(head_[offset + 5]);
        if (index == 0 && entry.startAddress != kFirstAddress)
            return fault(offset, where + QStringLiteral(": начальный адрес %1, а первая запись начинается с %2")
                                         .arg(entry.startAddress)
                                         .arg(kFirstAddress));
        if (index > 0 && !followsPrevious(entry.startAddress))
            return fault(offset, where + QStringLiteral(": начальный адрес %1 не следует целыми страницами за адресом %2")
                                         .arg(entry.startAddress)
                                         .arg(result_.directory.back().startAddress));
        if (!expectFill(offset + 6, offset + kEntrySize, 0x00, where))
            return false;
        closePreviousEntry(entry.startAddress);
        result_.directory.push_back(entry);
        return true;
    }

    bool followsPrevious(int64_t address) const
    {
        const int64_t previous = result_.directory.back().startAddress;
        return address >= previous && (address - previous) % kUnitsPerPage == 0;
    }

    // The previous recording's pages end where the next one starts.
    void closePreviousEntry(int32_t nextAddress)
    {
        if (!result_.directory.empty()) {
            DirectoryEntry &previous = result_.directory.back();
            previous.pages = (nextAddress - previous.startAddress) / kUnitsPerPage;
        }
    }

    bool checkEndEntry()
    {
        const qint64 lengthOffset = endEntryOffset_ + 2;
        if (!within(endEntryOffset_ + kEndEntrySize))
            return false;
        regionLength_ = negated24(littleEndianAt(lengthOffset, 3));
        if (regionLength_ == 0 || regionLength_ % kImagePageSize != 0)
            return fault(lengthOffset, QStringLiteral("концевая запись: длина области контрольной суммы %1 "
                                                      "не кратна странице %2 байт")
                                           .arg(regionLength_)
                                           .arg(kImagePageSize));
        const int64_t endAddress = (regionLength_ + kDirectoryOffset) / kImagePageSize * kUnitsPerPage;
        if (!result_.directory.empty() && endAddress < result_.directory.back().startAddress)
            return fault(lengthOffset, QStringLiteral("концевая запись: область контрольной суммы (%1 байт) "
                                                      "кончается раньше начала записи %2")
                                           .arg(regionLength_)
                                           .arg(result_.directory.size()));
        closePreviousEntry(static_cast<int32_t>(endAddress));
        return expectFill(endEntryOffset_ + kEndEntrySize, kChecksumOffset, 0x00,
                          QStringLiteral("заполнение после концевой записи"));
    }

    bool checkLength()
    {
        const qint64 expected = kDirectoryOffset + regionLength_;
        if (result_.fileLength < expected)
            return fault(result_.fileLength, QStringLiteral("файл обрывается: по концевой записи в образе %1 байт, "
                                                            "а в файле %2")
                                                 .arg(expected)
                                                 .arg(result_.fileLength));
        const qint64 excess = result_.fileLength - expected;
        if (excess > 0 && !(excess < kImagePageSize && isUploadFill(expected, excess)))
            return fault(expected, QStringLiteral("после конца образа (%1 байт по концевой записи) в файле еще %2 байт")
                                       .arg(expected)
                                       .arg(excess));
        result_.uploadFill = excess;
        return true;
    }

    bool isUploadFill(qint64 from, qint64 length)
    {
        const qint64 position = file_.pos();
        file_.seek(from);
        const QByteArray fill = readBlock(length);
        file_.seek(position);
        return fill.size() == length && fill.count('\xFF') == length;
    }

    bool checkSum()
    {
        auto sum = byteSum(head_.constData() + kDirectoryOffset, kDataOffset - kDirectoryOffset);
        for (qint64 left = result_.fileLength - result_.uploadFill - kDataOffset; left > 0;) {
            const QByteArray block = readBlock(std::min(kBlockSize, left));
            if (block.isEmpty())
                break;
            sum = static_cast<uint8_t>(sum + byteSum(block.constData(), block.size()));
            left -= block.size();
        }
        if (sum == 0)
            return true;
        const auto written = static_cast<uint8_t>(head_[kChecksumOffset]);
        return fault(kChecksumOffset, QStringLiteral("контрольная сумма не сходится: записан байт %1, а должен быть %2")
                                          .arg(hexByte(written), hexByte(static_cast<uint8_t>(written - sum))));
    }

    QFile &file_;
    ImageInspection &result_;
    QByteArray head_;
    QStringDecoder windows1251_{"windows-1251", QStringConverter::Flag::Stateless};
    qint64 endEntryOffset_ = 0;
    qint64 regionLength_ = 0;
};

} // namespace

ImageInspection inspectImage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw OperationError(QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.errorString()));
    ImageInspection result;
    ImageInspector(file, result).run();
    return result;
}
