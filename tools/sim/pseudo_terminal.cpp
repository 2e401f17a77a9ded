#include "tools/sim/pseudo_terminal.h"

#include "link/termios_speed.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace {

QString systemProblem(const char *what)
{
    return QStringLiteral("Не удалось создать псевдотерминал (%1): %2")
        .arg(QLatin1String(what), QString::fromStdString(std::generic_category().message(errno)));
}

} // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::create(QString &problem)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        problem = systemProblem("posix_openpt");
        return nullptr;
    }
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0
        || fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
        problem = systemProblem("ptsname");
        ::close(master);
        return nullptr;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio;
    if (slave < 0 || tcgetattr(slave, &tio) != 0) {
        problem = systemProblem(name);
        if (slave >= 0)
            ::close(slave);
        ::close(master);
        return nullptr;
    }
    // Raw until the program sets its own settings, so no byte is changed on the way.
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, slave, QString::fromLocal8Bit(name)));
}

PseudoTerminal::PseudoTerminal(int master, int slave, QString path)
    : master_(master), slave_(slave), path_(std::move(path))
{
}

PseudoTerminal::~PseudoTerminal()
{
    ::close(slave_);
    ::close(master_);
}

int32_t PseudoTerminal::lineSpeed() const
{
    termios tio;
    return tcgetattr(slave_, &tio) == 0 ? baudRateOf(cfgetospeed(&tio)) : 0;
}
