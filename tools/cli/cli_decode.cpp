// soundloader-cli decode: the WAV file the window's preview plays.
#include "audio/wav_image.h"
#include "core/operation_error.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli decode ЗАПИСЬ.krd ВЫХОД.wav\n\n"
    "Записывает звук записи в WAV-файл так, как его проигрывает озвучивание:\n"
    "16 бит, моно, 22050 Гц.");

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// Replaces the file only once the whole image is written.
void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw OperationError(QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString()));
}

} // namespace

int runDecode(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    if (args.size() != 2)
        return usageError(kUsage, QStringLiteral("Нужны два имени файла: запись и WAV-файл"));
    const QString &recording = args[0];
    const QString &output = args[1];
    if (sameFile(recording, output)) {
        printError(QStringLiteral("WAV-файл не может заменить саму запись: %1").arg(output));
        return kExitFailed;
    }
    return failingOnError([&] {
        writeWholeFile(output, readPreviewImage(recording));
        return kExitOk;
    });
}
