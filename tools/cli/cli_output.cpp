#include "tools/cli/cli_output.h"

#include <cstdio>

void printOut(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printError(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

int usageError(const QString &usage, const QString &problem)
{
    if (!problem.isEmpty())
        printError(problem);
    printError(usage);
    return kExitUsage;
}

bool helpAsked(const QStringList &args, const QString &usage)
{
    if (!args.contains(QStringLiteral("--help")) && !args.contains(QStringLiteral("-h")))
        return false;
    printOut(usage);
    return true;
}
