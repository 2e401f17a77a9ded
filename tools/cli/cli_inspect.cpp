// soundloader-cli inspect: what an image file holds and whether it keeps
// every promise of its format.
#include "image/image_reader.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli inspect ОБРАЗ.bkr [--json]\n"
    "Показывает каталог и оглавление образа (начальный адрес, число отсчетов, тип,\n"
    "длина в страницах) и проверяет его: \"OK\" или первое несоответствие со смещением.\n"
    "Код выхода 0 только для целого образа.");

QString faultText(const ImageFault &fault)
{
    return QStringLiteral("Несоответствие по смещению %1 (0x%2): %3")
        .arg(fault.offset)
        .arg(fault.offset, 0, 16)
        .arg(fault.text);
}

QString plainReport(const ImageInspection &image)
{
    QStringList lines;
    lines << QStringLiteral("Длина файла: %1 байт").arg(image.fileLength);
    lines << QStringLiteral("Каталог:");
    for (int i = 0; i < image.catalogue.size(); ++i)
        lines << QStringLiteral("%1. %2").arg(i + 1, 3).arg(image.catalogue[i]);
    lines << QStringLiteral("Оглавление:");
    lines << QStringLiteral("    №   адрес  отсчетов  тип  страниц");
    for (size_t i = 0; i < image.directory.size(); ++i) {
        const DirectoryEntry &entry = image.directory[i];
        lines << QStringLiteral("%1  %2  %3  %4  %5")
                     .arg(i + 1, 5)
                     .arg(entry.startAddress, 6)
                     .arg(entry.sampleCount, 8)
                     .arg(entry.encodingType, 3)
                     .arg(entry.pages, 7);
    }
    if (image.uploadFill > 0)
        lines << QStringLiteral("После конца образа %1 байт FF: конец последнего пакета заливки").arg(image.uploadFill);
    lines << (image.fault ? faultText(*image.fault) : QStringLiteral("OK"));
    return lines.join(QLatin1Char('\n'));
}

QString jsonReport(const ImageInspection &image)
{
    QJsonArray directory;
    for (const DirectoryEntry &entry : image.directory)
        directory.append(QJsonObject{{"start", entry.startAddress},
                                     {"samples", entry.sampleCount},
                                     {"type", entry.encodingType},
                                     {"pages", entry.pages}});
    QJsonObject report{{"length", image.fileLength},
                       {"uploadFill", image.uploadFill},
                       {"catalogue", QJsonArray::fromStringList(image.catalogue)},
                       {"directory", directory},
                       {"consistent", image.consistent()}};
    if (image.fault)
        report.insert("fault", QJsonObject{{"offset", image.fault->offset}, {"text", image.fault->text}});
    return QString::fromUtf8(QJsonDocument(report).toJson(QJsonDocument::Indented)).trimmed();
}

} // namespace

int runInspect(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 1 || rest.constFirst().startsWith(QStringLiteral("--")))
        return usageError(kUsage, rest.isEmpty() ? QStringLiteral("Не указан файл образа") : QString());
    return failingOnError([&] {
        const ImageInspection image = inspectImage(rest.constFirst());
        printOut(json ? jsonReport(image) : plainReport(image));
        return image.consistent() ? kExitOk : kExitFailed;
    });
}
