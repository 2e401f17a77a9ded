// soundloader-cli ports: the serial ports the window's port selector offers.
#include "link/port_enumeration.h"
#include "tools/cli/cli_output.h"
#include "tools/cli/verbs.h"

namespace {

const QString kUsage = QStringLiteral(
    "Использование: soundloader-cli ports\n"
    "Выводит последовательные порты, по одному имени в строке, в том же порядке,\n"
    "что и список выбора порта в окне программы.");

} // namespace

int runPorts(const QStringList &args)
{
    if (helpAsked(args, kUsage))
        return kExitOk;
    if (!args.isEmpty())
        return usageError(kUsage, QStringLiteral("Лишние параметры: ") + args.join(u' '));
    const QStringList names = enumeratePortNames();
    if (names.isEmpty())
        printError(QStringLiteral("Последовательные порты не найдены"));
    for (const QString &name : names)
        printOut(name);
    return kExitOk;
}
