// soundloader-cli build: the image of recording files and list files, as
// "Сохранить образ" would write it from a table holding them.
#include "core/device_profile.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/cli_recordings.h"
#include "tools/cli/verbs.h"

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli build [--model 32|99] [--list СПИСОК] ОБРАЗ.bkr [ФАЙЛ.krd ...]\n"
    "Строит образ флэш-памяти из файлов записей в порядке командной строки. Имена из\n"
    "списка (Windows-1251, по имени в строке) ищутся в папке списка. Перед построением\n"
    "проверяются число записей и объем для модели (по умолчанию 32).");

struct BuildRequest {
    DeviceModel model = DeviceModel::Records32;
    QString image;
    QList<RecordingSource> sources;
};

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
    RecordingTable table = recordingTableOf(request.sources);
    const qint64 length = buildCheckedImage(table, fixedProfile(request.model), request.image);
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
    return failingOnError([&] { return build(*request); });
}
