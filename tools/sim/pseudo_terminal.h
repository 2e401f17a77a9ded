#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// A pseudo-terminal whose far side (the slave) the program opens as its
// serial port. The simulator keeps the slave open too: the program's
// closing and reopening then never hang up the line, and the speed the
// program sets can be read here.
class PseudoTerminal
{
public:
    // A new terminal, or none with the reason in problem.
    static std::unique_ptr<PseudoTerminal> create(QString &problem);
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // The device's end, non-blocking.
    int deviceFd() const { return master_; }
    const QString &path() const { return path_; }
    // The line speed the program set, in baud; 0 for one the program never uses.
    int32_t lineSpeed() const;

private:
    PseudoTerminal(int master, int slave, QString path);

    int master_;
    int slave_;
    QString path_;
};
