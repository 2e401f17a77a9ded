#include "link/port_enumeration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace {

// Splits "ttyUSB10" into "ttyUSB" and "10".
std::pair<QStringView, QStringView> stemAndNumber(QStringView name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    return {name.first(digits), name.sliced(digits)};
}

// ttyUSB2 before ttyUSB10.
bool naturalLess(const QString &a, const QString &b)
{
    const auto [stemA, numberA] = stemAndNumber(a);
    const auto [stemB, numberB] = stemAndNumber(b);
    if (stemA != stemB)
        return stemA < stemB;
    const auto withoutZeros = [](QStringView number) {
        while (number.size() > 1 && number.front() == u'0')
            number = number.sliced(1);
        return number;
    };
    const QStringView valueA = withoutZeros(numberA);
    const QStringView valueB = withoutZeros(numberB);
    if (valueA.size() != valueB.size())
        return valueA.size() < valueB.size();
    if (valueA != valueB)
        return valueA < valueB;
    return a < b;
}

QStringList sortedNaturally(QStringList names)
{
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

// A serial-core port whose type is PORT_UNKNOWN (0) has no UART behind it:
// the kernel makes such 8250 ports for every ISA slot a PC might have. The
// type read from sysfs is the one TIOCGSERIAL reports, without opening the
// port (which would toggle its modem lines and needs access rights).
bool reportsNoUart(const QString &ttyDir)
{
    QFile type(ttyDir + QStringLiteral("/type"));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "0";
}

QStringList kernelSerialDevices(const QString &sysClassTty, const QString &devDir)
{
    QStringList names;
    const QDir dir(sysClassTty);
    for (const QString &entry : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString ttyDir = dir.filePath(entry);
        // Consoles and pseudo-terminals have no device behind them.
        if (!QFileInfo::exists(ttyDir + QStringLiteral("/device")) || reportsNoUart(ttyDir))
            continue;
        // sysfs writes a '/' of the device name as '!'.
        const QString name = QString(entry).replace(u'!', u'/');
        if (QFileInfo::exists(devDir + u'/' + name))
            names << name;
    }
    return sortedNaturally(names);
}

bool isPseudoTerminal(const QString &path)
{
    struct stat status;
    return path.startsWith(QStringLiteral("/dev/pts/"))
           && stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

QStringList pseudoTerminalLinks(const QString &devDir)
{
    QStringList names;
    const QDir dir(devDir);
    for (const QFileInfo &entry : dir.entryInfoList({QStringLiteral("tty*")},
                                                    QDir::AllEntries | QDir::System)) {
        if (entry.isSymLink() && isPseudoTerminal(entry.canonicalFilePath()))
            names << entry.fileName();
    }
    return sortedNaturally(names);
}

} // namespace

QStringList enumeratePortNames()
{
    return enumeratePortNames(QStringLiteral("/sys/class/tty"), QStringLiteral("/dev"));
}

QStringList enumeratePortNames(const QString &sysClassTty, const QString &devDir)
{
    return kernelSerialDevices(sysClassTty, devDir) + pseudoTerminalLinks(devDir);
}

QString portPathOf(const QString &name)
{
    return QStringLiteral("/dev/") + name;
}
