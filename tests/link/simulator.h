#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// soundloader-sim in a process of its own, for as long as the test runs.
class Simulator
{
public:
    // args as on the simulator's command line; it ends by itself after a
    // minute should a test leave it behind.
    explicit Simulator(const QStringList &args);
    ~Simulator();

    // The terminal's path, empty if the simulator did not start.
    const QString &path() const { return path_; }
    // The path as a port name under /dev, as the port selector shows it.
    QString portName() const { return path_.mid(5); }
    // Ends it as a user would with Ctrl+C and waits for it.
    void stop();

private:
    QProcess process_;
    QString path_;
};

// The programs built next to the tests.
QString simulatorProgram();
