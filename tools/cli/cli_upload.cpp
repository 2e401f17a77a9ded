// soundloader-cli upload: uploads an image to the device on a port, with
// the window's protocols, watchdog and detection, asking nothing.
#include "core/operation_error.h"
#include "link/port_opening.h"
#include "link/posted_upload_events.h"
#include "link/upload_session.h"
#include "link/upload_texts.h"
#include "tools/cli/cli_device.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/cli_progress.h"
#include "tools/cli/cli_recordings.h"
#include "tools/cli/verbs.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli upload --port ИМЯ [--model 32|99|auto] [--no-detect]\n"
    "                 [--timeout С] (ОБРАЗ.bkr | --build ФАЙЛ.krd... | --list СПИСОК)\n"
    "Заливает образ в устройство, как кнопки \"Залить образ\" и \"Записать\" окна программы,\n"
    "ничего не спрашивая. С --build и --list образ сначала строится из файлов записей\n"
    "и списков (в порядке командной строки) во временную папку.\n\n"
    "  --port ИМЯ      порт: имя из списка soundloader-cli ports (ttyUSB0) или путь\n"
    "  --model         32 (115200 бод), 99 (230400 бод) или auto: опознать модель\n"
    "                  перебором обеих скоростей (по умолчанию auto)\n"
    "  --no-detect     не опрашивать устройство, а поверить --model 32 или 99\n"
    "                  (для приемников, которые не отвечают на запрос опознания)\n"
    "  --timeout С     сколько секунд ждать опознания устройства (по умолчанию 6)\n\n"
    "Код возврата 0, только если заливка завершена.");

constexpr int kWatchdogIntervalMs = 1000;

struct UploadArgs {
    QString port;
    std::optional<DeviceModel> model; // none: automatic
    bool detect = true;
    double timeoutSeconds = 6;
    QString image;                    // a ready image, or
    QList<RecordingSource> sources;   // what to build one from
};

std::optional<DeviceModel> modelNamed(const QString &value, bool &ok)
{
    ok = true;
    if (value == QStringLiteral("32"))
        return DeviceModel::Records32;
    if (value == QStringLiteral("99"))
        return DeviceModel::Records99;
    ok = value == QStringLiteral("auto");
    return std::nullopt;
}

std::optional<UploadArgs> parseArgs(const QStringList &args, QString &problem)
{
    UploadArgs parsed;
    bool build = false;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QStringLiteral("--no-detect")) {
            parsed.detect = false;
            continue;
        }
        if (arg == QStringLiteral("--build")) {
            build = true;
            continue;
        }
        if (!arg.startsWith(QStringLiteral("--"))) {
            files << arg;
            parsed.sources.append({arg, false});
            continue;
        }
        if (arg != QStringLiteral("--port") && arg != QStringLiteral("--model")
            && arg != QStringLiteral("--timeout") && arg != QStringLiteral("--list")) {
            problem = QStringLiteral("Неизвестный параметр: ") + arg;
            return std::nullopt;
        }
        if (i + 1 == args.size()) {
            problem = QStringLiteral("Не указано значение ") + arg;
            return std::nullopt;
        }
        const QString &value = args[++i];
        bool ok = true;
        if (arg == QStringLiteral("--port")) {
            parsed.port = value;
        } else if (arg == QStringLiteral("--model")) {
            parsed.model = modelNamed(value, ok);
        } else if (arg == QStringLiteral("--timeout")) {
            parsed.timeoutSeconds = value.toDouble(&ok);
            ok = ok && parsed.timeoutSeconds > 0 && parsed.timeoutSeconds <= 86400;
        } else {
            parsed.sources.append({value, true});
        }
        if (!ok) {
            problem = QStringLiteral("Неверное значение %1: %2").arg(arg, value);
            return std::nullopt;
        }
    }
    const bool fromList = parsed.sources.size() > files.size();
    if (parsed.port.isEmpty())
        problem = QStringLiteral("Не указан порт (--port)");
    else if (!parsed.detect && !parsed.model)
        problem = QStringLiteral("С --no-detect модель указывается явно: --model 32 или 99");
    else if (!build && !fromList && files.size() != 1)
        problem = QStringLiteral("Укажите один файл образа, или --build с файлами записей, или --list");
    else if (!build && fromList && !files.isEmpty())
        problem = QStringLiteral("Файлы записей указываются после --build");
    if (!problem.isEmpty())
        return std::nullopt;
    if (!build && !fromList) {
        parsed.image = files.constFirst();
        parsed.sources.clear();
    }
    return parsed;
}

// The device's profile as the window would hold it: the chosen model's, or,
// in automatic mode, the model the poll recognised, at that model's speed.
std::optional<DeviceProfile> recognisedProfile(SerialLine &line, const UploadArgs &args)
{
    DeviceProfile profile = args.model ? fixedProfile(*args.model) : startupProfile();
    if (!args.detect)
        return profile;
    const std::optional<Detection> detection =
        pollForDevice(line, profile, !args.model, args.timeoutSeconds);
    if (!detection)
        return std::nullopt;
    if (!args.model) {
        setLineSpeed(line, lineSpeedOf(*detection->model()));
        profile = fixedProfile(*detection->model());
    }
    return profile;
}

// Runs the upload of file to its end on this thread's event loop: the
// watchdog ticks every second, the worker's news arrive here.
int upload(SerialLine &line, const DeviceProfile &profile, std::unique_ptr<QIODevice> file)
{
    QEventLoop loop;
    UploadProgressView view;
    bool shownEnd = false; // news the worker sent before a watchdog failure come too late
    const auto end = [&](int status, const QString &text) {
        shownEnd = true;
        view.finish();
        if (status == kExitOk)
            printOut(text);
        else
            printError(text);
        loop.exit(status);
    };
    PostedUploadEvents events(
        loop, {[&](UploadProgress progress) {
                   if (!shownEnd)
                       view.show(progress);
               },
               [&] { end(kExitOk, uploadCompletedText()); },
               [&] { end(kExitFailed, uploadCancelledText()); },
               [&](const QString &problem) { end(kExitFailed, problem); }});
    UploadSession session(line, profile, std::move(file), events);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        if (session.tick() == WatchdogStep::Failed) {
            watchdog.stop();
            end(kExitFailed, session.failureText());
        }
    });
    watchdog.start(kWatchdogIntervalMs);
    return loop.exec();
}

// Builds the recordings' image for the device into a new temporary folder,
// as "Записать" does, and returns its path.
QString builtImage(const QList<RecordingSource> &sources, const DeviceProfile &profile,
                   std::optional<QTemporaryDir> &folder)
{
    folder.emplace();
    if (!folder->isValid())
        throw OperationError(QStringLiteral("Не удалось создать временную папку: ") + folder->errorString());
    const QString image = folder->filePath(QStringLiteral("romsound.bkr"));
    RecordingTable table = recordingTableOf(sources);
    buildCheckedImage(table, profile, image);
    return image;
}

int run(const UploadArgs &args)
{
    const QString path = portPathOfArgument(args.port);
    const std::unique_ptr<SerialLine> line = makeSerialLine();
    const OpenResult opened = openPort(*line, path, lineSpeedOf(args.model.value_or(DeviceModel::Records32)));
    if (!opened.opened()) {
        printError(openFailureText(opened, path));
        return kExitFailed;
    }
    const std::optional<DeviceProfile> profile = recognisedProfile(*line, args);
    if (!profile) {
        printError(deviceNotReadyText() + QStringLiteral(": на порту %1 устройство не опознано за %2 с")
                                              .arg(path)
                                              .arg(args.timeoutSeconds));
        return kExitFailed;
    }
    if (const QString problem = blockSizeProblem(profile->blockSize); !problem.isEmpty()) {
        printError(problem);
        return kExitFailed;
    }
    std::optional<QTemporaryDir> buildFolder;
    const QString image = args.image.isEmpty() ? builtImage(args.sources, *profile, buildFolder) : args.image;
    std::unique_ptr<QIODevice> file = openUploadFile(image);
    printError(QStringLiteral("Заливка %1 (%2 байт) в %3").arg(image).arg(file->size()).arg(path));
    return upload(*line, *profile, std::move(file));
}

} // namespace

int runUpload(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    QString problem;
    const std::optional<UploadArgs> parsed = parseArgs(args, problem);
    if (!parsed)
        return usageError(kUsage, problem);
    return failingOnError([&] { return run(*parsed); });
}
