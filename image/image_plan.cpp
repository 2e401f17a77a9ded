#include "image/image_plan.h"

#include "core/operation_error.h"
#include "table/recording_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <algorithm>

namespace {

QByteArray catalogueName(QStringEncoder &encoder, const QString &name)
{
    const QByteArray bytes = encoder.encode(name);
    if (encoder.hasError())
        throw OperationError(QStringLiteral("Имя файла %1 нельзя записать в каталог образа: "
                                            "в кодировке Windows-1251 нет его знаков")
                                 .arg(name));
    // A line feed or other control byte would break the catalogue's lines.
    if (std::any_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<uint8_t>(byte) < 0x20; }))
        throw OperationError(QStringLiteral("Имя файла %1 нельзя записать в каталог образа: "
                                            "в нем есть управляющие знаки")
                                 .arg(name));
    return bytes;
}

QByteArray catalogueOf(const RecordingTable &table)
{
    QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    QByteArray catalogue;
    for (int row = 1; row < table.rowCount(); ++row)
        catalogue += catalogueLinePrefix(row) + catalogueName(encoder, table.cell(row, ColFileName)) + '\n';
    if (catalogue.size() + 1 > kCatalogueCapacity)
        throw OperationError(QStringLiteral("Имена файлов не помещаются в каталог образа: "
                                            "нужно %1 байт, а в нем %2. Сократите имена файлов.")
                                 .arg(catalogue.size() + 1)
                                 .arg(kCatalogueCapacity));
    return catalogue;
}

std::unique_ptr<QFile> openRecording(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const QFileInfo info(path);
        if (!info.exists() || info.isDir())
            throw OperationError(recordingWarning(path, RecordingCheck::Missing));
        throw OperationError(QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file->errorString()));
    }
    return file;
}

RecordingHeader headerOf(QFile &file)
{
    char bytes[RecordingHeader::kSize];
    const qint64 read = file.read(bytes, sizeof bytes);
    if (read < 0)
        throw OperationError(QStringLiteral("Не удалось прочитать файл %1: %2").arg(file.fileName(), file.errorString()));
    if (read < RecordingHeader::kSize)
        throw OperationError(recordingWarning(file.fileName(), RecordingCheck::WrongFormat));
    return RecordingHeader::parse(bytes);
}

void checkFields(const QString &path, const RecordingHeader &header)
{
    // A negative length would move the next start address backwards, over
    // data already laid out.
    if (header.dataLength < 0)
        throw OperationError(QStringLiteral("Файл %1 - неверная длина данных: %2")
                                 .arg(path, QString::number(header.dataLength)));
    if (header.sampleCount < 0 || header.sampleCount >= kField24Limit)
        throw OperationError(QStringLiteral("Файл %1: число отсчетов %2 не помещается в образ "
                                            "(допустимо от 0 до %3)")
                                 .arg(path, QString::number(header.sampleCount),
                                      QString::number(kField24Limit - 1)));
}

} // namespace

ImagePlan planImage(const RecordingTable &table)
{
    const int count = table.rowCount() - 1;
    if (count > kMaxEntries)
        throw OperationError(QStringLiteral("Записей в таблице %1, а образ вмещает не больше %2")
                                 .arg(count)
                                 .arg(kMaxEntries));

    ImagePlan plan;
    plan.catalogue = catalogueOf(table);
    // Addresses are counted in 64 bits: the limits below keep every written
    // value where 32-bit arithmetic gives the same.
    int64_t address = kFirstAddress;
    for (int row = 1; row <= count; ++row) {
        const QString path = table.cell(row, ColPath);
        std::unique_ptr<QFile> file = openRecording(path);
        const RecordingHeader header = headerOf(*file);
        checkFields(path, header);
        if (address >= kAddressLimit)
            throw OperationError(QStringLiteral("Запись %1 (%2) не помещается в образ: "
                                                "ее начальный адрес %3 больше %4")
                                     .arg(QString::number(row), table.cell(row, ColFileName),
                                          QString::number(address), QString::number(kAddressLimit - 1)));
        plan.recordings.push_back({path, std::move(file), header.dataLength, header.sampleCount,
                                   header.encodingType, static_cast<int32_t>(address)});
        address += imagePagesOf(header.dataLength) * kUnitsPerPage;
    }

    const int64_t region = address / kUnitsPerPage * kImagePageSize - kDirectoryOffset;
    if (region >= kField24Limit)
        throw OperationError(QStringLiteral("Записи не помещаются в образ: область контрольной суммы "
                                            "заняла бы %1 байт, а допустимо не больше %2")
                                 .arg(region)
                                 .arg(kField24Limit - 1));
    plan.endAddress = static_cast<int32_t>(address);
    return plan;
}
