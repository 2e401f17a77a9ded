#pragma once

#include <QString>
#include <QStringList>

// Names of the serial ports on this machine, as device names under /dev, in
// a stable order: first the serial devices the kernel reports, then the
// /dev/tty* symbolic links to pseudo-terminals, which is how virtual ports
// (socat, the device simulator) appear.
QStringList enumeratePortNames();

// The same over other roots: sysClassTty in place of /sys/class/tty and
// devDir in place of /dev.
QStringList enumeratePortNames(const QString &sysClassTty, const QString &devDir);

// The device path of a port name.
QString portPathOf(const QString &name);
