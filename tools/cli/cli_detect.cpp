// soundloader-cli detect: asks the device on a port who it is, as the
// window's presence poll does, until it is recognised or time is up.
#include "link/device_detection.h"
#include "link/port_opening.h"
#include "tools/cli/cli_device.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

#include <optional>

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli detect --port ИМЯ [--model 32|99|auto] [--timeout С]\n"
    "Опрашивает устройство каждые 2 с, как окно программы, пока оно не будет опознано\n"
    "или не пройдёт заданное время.\n\n"
    "  --port ИМЯ      порт: имя из списка soundloader-cli ports (ttyUSB0) или путь\n"
    "  --model         32 (115200 бод), 99 (230400 бод) или auto: перебор обеих\n"
    "                  скоростей (по умолчанию auto)\n"
    "  --timeout С     сколько секунд опрашивать (по умолчанию 6)\n\n"
    "Код возврата 0, только если устройство опознано.");

struct DetectArgs {
    QString port;
    std::optional<DeviceModel> model; // none: automatic
    double timeoutSeconds = 6;
};

std::optional<DetectArgs> parseArgs(const QStringList &args, QString &problem)
{
    DetectArgs parsed;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const QString &option = args[i];
        if (option != QStringLiteral("--port") && option != QStringLiteral("--model")
            && option != QStringLiteral("--timeout")) {
            problem = QStringLiteral("Неизвестный параметр: ") + option;
            return std::nullopt;
        }
        if (i + 1 == args.size()) {
            problem = QStringLiteral("Не указано значение ") + option;
            return std::nullopt;
        }
        const QString &value = args[i + 1];
        bool ok = true;
        if (option == QStringLiteral("--port")) {
            parsed.port = value;
        } else if (option == QStringLiteral("--model")) {
            if (value == QStringLiteral("32"))
                parsed.model = DeviceModel::Records32;
            else if (value == QStringLiteral("99"))
                parsed.model = DeviceModel::Records99;
            else if (value == QStringLiteral("auto"))
                parsed.model.reset();
            else
                ok = false;
        } else {
            parsed.timeoutSeconds = value.toDouble(&ok);
            ok = ok && parsed.timeoutSeconds > 0 && parsed.timeoutSeconds <= 86400;
        }
        if (!ok) {
            problem = QStringLiteral("Неверное значение %1: %2").arg(option, value);
            return std::nullopt;
        }
    }
    if (parsed.port.isEmpty()) {
        problem = QStringLiteral("Не указан порт (--port)");
        return std::nullopt;
    }
    return parsed;
}

QString modelName(DeviceModel model)
{
    return model == DeviceModel::Records32 ? QStringLiteral("K 3/32 (до 32 записей)")
                                           : QStringLiteral("K 4/99 (до 99 записей)");
}

void printRecognised(const Detection &detection, const DeviceProfile &profile, int32_t speed)
{
    printOut(QStringLiteral("Модель: ") + modelName(*detection.model()));
    printOut(QStringLiteral("Скорость: %1 бод").arg(speed));
    printOut(QStringLiteral("Ответ: \"%1\"").arg(visibleBytes(detection.reply)));
    if (detection.answer == DeviceAnswer::VersionLine)
        printOut(QStringLiteral("Память: %1 страниц по %2 байт, до %3 записей")
                     .arg(profile.pageCount)
                     .arg(profile.pageSize)
                     .arg(profile.maxRecords));
}

} // namespace

int runDetect(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    QString problem;
    const std::optional<DetectArgs> parsed = parseArgs(args, problem);
    if (!parsed)
        return usageError(kUsage, problem);

    const QString path = portPathOfArgument(parsed->port);
    const std::unique_ptr<SerialLine> line = makeSerialLine();
    const OpenResult opened =
        openPort(*line, path, lineSpeedOf(parsed->model.value_or(DeviceModel::Records32)));
    if (!opened.opened()) {
        printError(openFailureText(opened, path));
        return kExitFailed;
    }

    const bool automatic = !parsed->model;
    DeviceProfile profile = startupProfile();
    if (const std::optional<Detection> detection =
            pollForDevice(*line, profile, automatic, parsed->timeoutSeconds)) {
        printRecognised(*detection, profile, currentLineSpeed(*line));
        return kExitOk;
    }
    printError(QStringLiteral("Устройство на порту %1 не опознано за %2 с")
                   .arg(path)
                   .arg(parsed->timeoutSeconds));
    return kExitFailed;
}
