#include "link/port_enumeration.h"
#include "tests/link/pty_peer.h"
#include "tests/link/simulator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

// A stand-in for /sys/class/tty and /dev.
class MachineTree
{
public:
    MachineTree()
    {
        QDir(root_.path()).mkpath(QStringLiteral("sys/devices/port"));
        QDir(root_.path()).mkpath(QStringLiteral("sys/class/tty"));
        QDir(root_.path()).mkpath(QStringLiteral("dev"));
    }

    QString sys() const { return root_.filePath(QStringLiteral("sys/class/tty")); }
    QString dev() const { return root_.filePath(QStringLiteral("dev")); }

    // A terminal the kernel knows; hardware: whether a device stands behind
    // it; uartType: what a serial-core port reports; node: whether /dev has it.
    void addTerminal(const QString &name, bool hardware, std::optional<int> uartType, bool node = true)
    {
        const QString dir = sys() + u'/' + name;
        QDir().mkpath(dir);
        if (hardware)
            QFile::link(root_.filePath(QStringLiteral("sys/devices/port")), dir + QStringLiteral("/device"));
        if (uartType)
            write(dir + QStringLiteral("/type"), QByteArray::number(*uartType) + '\n');
        if (node)
            write(dev() + u'/' + name, {});
    }

    void addLink(const QString &name, const QString &target)
    {
        QFile::link(target, dev() + u'/' + name);
    }

private:
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir root_;
};

} // namespace

TEST(PortEnumeration, DevicesWithAUartThenLinksToPseudoTerminalsInNaturalOrder)
{
    MachineTree machine;
    machine.addTerminal(QStringLiteral("ttyS10"), true, 4);
    machine.addTerminal(QStringLiteral("ttyS0"), true, 0); // no UART behind it
    machine.addTerminal(QStringLiteral("ttyS2"), true, 4);
    machine.addTerminal(QStringLiteral("ttyUSB0"), true, std::nullopt);
    machine.addTerminal(QStringLiteral("ttyS1"), true, 4);
    machine.addTerminal(QStringLiteral("tty1"), false, std::nullopt);       // a console
    machine.addTerminal(QStringLiteral("ttyACM0"), true, std::nullopt, false); // no node
    PtyPeer first;
    PtyPeer second;
    machine.addLink(QStringLiteral("ttySIM10"), first.path());
    machine.addLink(QStringLiteral("ttySIM2"), second.path());
    machine.addLink(QStringLiteral("simulator"), first.path()); // not a tty* name
    machine.addLink(QStringLiteral("ttyGone"), QStringLiteral("/dev/pts/999999"));
    machine.addLink(QStringLiteral("ttyToUsb"), machine.dev() + QStringLiteral("/ttyUSB0"));

    EXPECT_EQ(enumeratePortNames(machine.sys(), machine.dev()),
              QStringList({"ttyS1", "ttyS2", "ttyS10", "ttyUSB0", "ttySIM2", "ttySIM10"}));
}

TEST(PortEnumeration, TheSimulatorsLinkIsListedWhileItRuns)
{
    MachineTree machine;
    const QString link = machine.dev() + QStringLiteral("/ttySIM0");
    Simulator device({"--model", "32", "--link", link});
    ASSERT_FALSE(device.path().isEmpty());
    EXPECT_EQ(enumeratePortNames(machine.sys(), machine.dev()), QStringList({"ttySIM0"}));

    device.stop();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(enumeratePortNames(machine.sys(), machine.dev()), QStringList());
}

TEST(PortEnumeration, APortPathIsItsNameUnderDev)
{
    EXPECT_EQ(portPathOf(QStringLiteral("ttyUSB0")), "/dev/ttyUSB0");
}
