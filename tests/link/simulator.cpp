#include "tests/link/simulator.h"

#include <csignal>

QString simulatorProgram()
{
    return QStringLiteral(SOUNDLOADER_SIM);
}

Simulator::Simulator(const QStringList &args)
{
    process_.start(simulatorProgram(),
                   QStringList(args) << QStringLiteral("--exit-after-seconds") << QStringLiteral("60"));
    while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
    }
    path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
}

Simulator::~Simulator()
{
    stop();
}

void Simulator::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(process_.processId()), SIGINT);
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished();
    }
}
