#include "tests/support/cli_run.h"

#include <QProcess>

#include <pwd.h>

QString cliProgram()
{
    return QStringLiteral(SOUNDLOADER_CLI);
}

namespace {

CliRun run(const QString &program, const QStringList &args, const QString &folder)
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, args);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

CliRun runCli(const QStringList &args, const QString &folder)
{
    return run(cliProgram(), args, folder);
}

CliRun runCliAs(const QString &user, const QStringList &args)
{
    const passwd *record = getpwnam(user.toLocal8Bit().constData());
    if (!record)
        return {};
    const QStringList asUser{"--reuid=" + user, "--regid=" + QString::number(record->pw_gid), "--clear-groups"};
    return run(QStringLiteral("setpriv"), asUser + QStringList{cliProgram()} + args, {});
}
