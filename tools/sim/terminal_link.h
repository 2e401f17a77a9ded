#pragma once

#include <QString>

#include <memory>

// A symbolic link to the simulator's terminal, so that the program lists it
// among the ports (as /dev/ttySIM0, say). It goes when the simulator ends.
class TerminalLink
{
public:
    // Replaces a symbolic link left at path by an earlier run; anything else
    // at path is kept and the link refused, with the reason in problem.
    static std::unique_ptr<TerminalLink> create(const QString &path, const QString &target,
                                                QString &problem);
    ~TerminalLink();

    TerminalLink(const TerminalLink &) = delete;
    TerminalLink &operator=(const TerminalLink &) = delete;

private:
    TerminalLink(QString path, QString target) : path_(std::move(path)), target_(std::move(target)) {}

    QString path_;
    QString target_;
};
