// soundloader-cli: the window's jobs without the window, one verb per job.
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

#include <QCoreApplication>

#include <iterator>

namespace {

const Verb kVerbs[] = {
    {"build", "построить образ флэш-памяти из файлов записей", runBuild},
    {"inspect", "проверить файл образа и показать его каталог", runInspect},
    {"ports", "последовательные порты, по одному в строке", runPorts},
    {"detect", "опознать устройство на порту", runDetect},
    {"decode", "WAV-файл звука записи, как его проигрывает озвучивание", runDecode},
    {"info", "сведения о файлах записей, как их покажет таблица", runInfo},
    {"upload", "залить образ в устройство", runUpload},
};

QString overview()
{
    QString text = QStringLiteral("Использование: soundloader-cli КОМАНДА [ПАРАМЕТРЫ...]   (КОМАНДА --help: подробнее)\n\nКоманды:");
    for (const Verb &verb : kVerbs)
        if (verb.name)
            text += QStringLiteral("\n  %1  %2").arg(QLatin1String(verb.name), -8).arg(QString::fromUtf8(verb.summary));
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usageError(overview());
    const QString name = args.takeFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h")) {
        printOut(overview());
        return kExitOk;
    }
    for (const Verb &verb : kVerbs)
        if (verb.name && name == QLatin1String(verb.name))
            return verb.run(args);
    return usageError(overview(), QStringLiteral("Неизвестная команда: ") + name);
}
