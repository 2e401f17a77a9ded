#pragma once

#include "core/operation_error.h"

#include <QString>
#include <QStringList>

// Exit statuses of every verb.
enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1, // the job was refused or failed; the reason is on stderr
    kExitUsage = 2,  // the command line was wrong
};

// Text for the user, in UTF-8.
void printOut(const QString &text);
void printError(const QString &text);

// Prints the verb's usage on stderr and returns kExitUsage.
int usageError(const QString &usage, const QString &problem = {});

// True when args asks for the verb's help; prints the usage on stdout.
bool helpAsked(const QStringList &args, const QString &usage);

// Runs a verb's work and returns its status; an OperationError it throws is
// printed and fails the verb.
template <typename Work>
int failingOnError(Work &&work)
{
    try {
        return work();
    } catch (const OperationError &error) {
        printError(error.message());
        return kExitFailed;
    }
}
