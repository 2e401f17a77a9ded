#include "tests/support/cli_run.h"

#include <QProcess>

QString cliProgram()
{
    return QStringLiteral(SOUNDLOADER_CLI);
}

CliRun runCli(const QStringList &args, const QString &folder)
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(cliProgram(), args);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
