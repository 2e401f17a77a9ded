// A port the system refuses the user: the reason says how to get in.
#include "link/port_access.h"
#include "tests/link/pty_peer.h"
#include "tests/support/cli_run.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(PortAccessAdvice, NamesTheWayInThatTheRightsLeave)
{
    const struct {
        PortAccess access;
        const char *told;
    } cases[] = {
        {{"alice", "root", "dialout", true, false, false},
         "добавьте пользователя в группу dialout (sudo usermod -aG dialout alice) и войдите в систему заново"},
        {{"alice", "root", "uucp", true, true, false},
         "пользователь alice уже в группе uucp, но это действует только после нового входа в систему: "
         "выйдите из системы и войдите заново"},
        {{"alice", "root", "dialout", true, true, true},
         "права на порт (владелец root, группа dialout) не позволяют пользователю alice его открыть"},
        {{"alice", "root", "tty", false, false, false},
         "права на порт (владелец root, группа tty) не позволяют пользователю alice его открыть"},
        {{"alice", "", "", false, false, false}, "у пользователя alice нет прав на его открытие"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(noAccessAdvice(c.access), QString::fromUtf8(c.told));
}

// Root opens every port, so the refusal is met by the command-line
// companion run as nobody, on a terminal given to root and the dialout group.
TEST(PortAccessRefused, TheCommandLineSaysHowToGetIn)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may run a program as another user";
    const group *dialout = getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    PtyPeer port;
    const QByteArray path = port.path().toLocal8Bit();
    ASSERT_EQ(chown(path.constData(), 0, dialout->gr_gid), 0);

    const struct {
        mode_t mode;
        const char *told;
    } cases[] = {
        {0660, "добавьте пользователя в группу dialout (sudo usermod -aG dialout nobody)"},
        {0600, "права на порт (владелец root, группа dialout) не позволяют пользователю nobody его открыть"},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(chmod(path.constData(), c.mode), 0);
        const CliRun run = runCliAs(QStringLiteral("nobody"), {"detect", "--port", port.path()});
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Нет доступа к порту %1: %2").arg(port.path(), QString::fromUtf8(c.told))))
            << run.err.toStdString();
    }
}
