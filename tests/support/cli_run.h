#pragma once

#include <QString>
#include <QStringList>

// soundloader-cli, run as the user runs it.
struct CliRun {
    int status = -1; // -1: it crashed or did not end in time
    QString out;
    QString err;
};

QString cliProgram();

// folder: the working folder; empty keeps the test's own.
CliRun runCli(const QStringList &args, const QString &folder = {});

// As another user, with none of the test's groups; only root may do that.
CliRun runCliAs(const QString &user, const QStringList &args);
