// soundloader-cli build: the image of recording files and list files, as
// "Сохранить образ" would write it from a table holding them.
#include "core/device_profile.h"
#include "core/operation_error.h"
#include "image/build_image.h"
#include "image/limit_check.h"
#include "table/list_file.h"
#include "table/recording_file.h"
#include "table/refresh_table.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli build [--model 32|99] [--list СПИСОК] ОБРАЗ.bkr [ФАЙЛ.krd ...]\n"
    "Строит образ флэш-памяти из файлов записей в порядке командной строки. Имена из\n"
    "списка (Windows-1251, по имени в строке) ищутся в папке списка. Перед построением\n"
    "проверяются число записей и объем для модели (по умолчанию 32).");

struct Source {
    QString path;
    bool isList = false;
};

struct BuildRequest {
    DeviceModel model = DeviceModel::Records32;
    QString image;
    QList<Source> sources;
};

// Adds one recording file as the window's add dialog would; a file the
// window would warn about fails the build with that warning.
void addRecording(RecordingTable &table, const QString &path)
{
    const RecordingFile file = readRecordingFile(path);
    if (file.check != RecordingCheck::Valid)
        throw OperationError(recordingWarning(path, file.check));
    appendRecordingRow(table, path, file.header);
}

void addList(RecordingTable &table, const QString &listPath)
{
    QFile list(listPath);
    openList(list);
    const QString folder = QFileInfo(listPath).absolutePath();
    while (const std::optional<QByteArray> name = ReadListLine(list))
        addRecording(table, resolveListName(decodeListName(*name), folder));
}

std::optional<BuildRequest> parse(const QStringList &args, QString &problem)
{
    BuildRequest request;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QStringLiteral("--model") || arg == QStringLiteral("--list")) {
            if (!hasValue) {
                problem = QStringLiteral("После %1 нужно значение").arg(arg);
                return std::nullopt;
            }
            const QString value = args[++i];
            if (arg == QStringLiteral("--list")) {
                request.sources.append({value, true});
            } else if (value == QStringLiteral("32") || value == QStringLiteral("99")) {
                request.model = value == QStringLiteral("32") ? DeviceModel::Records32 : DeviceModel::Records99;
            } else {
                problem = QStringLiteral("Неизвестная модель: %1 (допустимо 32 или 99)").arg(value);
                return std::nullopt;
            }
        } else if (arg.startsWith(QStringLiteral("--"))) {
            problem = QStringLiteral("Неизвестный параметр: ") + arg;
            return std::nullopt;
        } else if (request.image.isEmpty()) {
            request.image = arg;
        } else {
            request.sources.append({arg, false});
        }
    }
    if (request.image.isEmpty()) {
        problem = QStringLiteral("Не указан файл образа");
        return std::nullopt;
    }
    return request;
}

int build(const BuildRequest &request)
{
    RecordingTable table;
    writeHeaderRow(table);
    for (const Source &source : request.sources) {
        if (source.isList)
            addList(table, source.path);
        else
            addRecording(table, source.path);
    }
    const DeviceProfile profile = fixedProfile(request.model);
    const LimitCheck check = checkLimits(refreshRows(table, profile.pageSize), profile);
    if (check != LimitCheck::Passed) {
        printError(limitMessage(check));
        return kExitFailed;
    }
    const qint64 length = BuildImage(table, request.image);
    printOut(QStringLiteral("Готово: %1 (записей: %2, байт: %3)")
                 .arg(request.image, QString::number(table.rowCount() - 1), QString::number(length)));
    return kExitOk;
}

} // namespace

int runBuild(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    QString problem;
    const std::optional<BuildRequest> request = parse(args, problem);
    if (!request)
        return usageError(kUsage, problem);
    try {
        return build(*request);
    } catch (const OperationError &error) {
        printError(error.message());
        return kExitFailed;
    }
}
