// soundloader-cli info: what the table shows for recording files.
#include "core/operation_error.h"
#include "table/recording_file.h"
#include "table/refresh_table.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

#include <QLocale>

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli info ЗАПИСЬ.krd...\n\n"
    "Для каждого файла выводит то, что покажет таблица (имя файла, секунды,\n"
    "размер, тип), и число отсчетов из заголовка; для файла, который нельзя\n"
    "добавить, - то же предупреждение, что и окно.");

QString typeText(int type)
{
    const QString name = typeNameOf(type);
    return name.isEmpty() ? QStringLiteral("неизвестный (%1)").arg(type) : name;
}

QString rowOf(const QString &path, const RecordingHeader &header)
{
    return QStringList{fileNameOf(path),
                       secondsText(header.durationMs, QLocale().decimalPoint().front()),
                       QString::number(header.dataLength), typeText(header.encodingType),
                       QString::number(header.sampleCount)}
        .join(QLatin1Char('\t'));
}

} // namespace

int runInfo(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    if (args.isEmpty())
        return usageError(kUsage, QStringLiteral("Не указан ни один файл записи"));

    printOut(QStringLiteral("Имя файла\tСекунды\tРазмер\tТип\tОтсчетов"));
    int status = kExitOk;
    for (const QString &path : args) {
        try {
            const RecordingFile file = readRecordingFile(path);
            if (file.check == RecordingCheck::Valid) {
                printOut(rowOf(path, file.header));
                continue;
            }
            printError(recordingWarning(path, file.check));
        } catch (const OperationError &error) {
            printError(error.message());
        }
        status = kExitFailed;
    }
    return status;
}
