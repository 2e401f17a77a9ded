#include "tests/support/unwritable_folders.h"

#include "tests/support/recording_files.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QString systemError(const char *call)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(call), QString::fromLocal8Bit(std::strerror(errno)));
}

void writeFiles(const QString &folder, const std::map<QString, QByteArray> &files)
{
    for (const auto &[name, bytes] : files)
        writeFile(folder + QLatin1Char('/') + name, bytes);
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString &path, const std::map<QString, QByteArray> &files) : path_(path)
{
    if (!QDir().mkpath(path_))
        throw std::runtime_error("cannot make the folder " + path_.toStdString());
    if (geteuid() == 0) {
        mounted_ = mountReadOnly(files);
        return;
    }
    writeFiles(path_, files);
    if (!QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner))
        problem_ = QStringLiteral("chmod failed");
}

// The namespace is this thread's alone, so the mount is seen by nobody else
// and goes with the process at the latest.
bool ReadOnlyFolder::mountReadOnly(const std::map<QString, QByteArray> &files)
{
    const QByteArray where = QFile::encodeName(path_);
    if (unshare(CLONE_NEWNS) != 0) {
        problem_ = systemError("unshare");
        return false;
    }
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || mount("tmpfs", where.constData(), "tmpfs", 0, "size=1m") != 0) {
        problem_ = systemError("mount");
        return false;
    }
    writeFiles(path_, files);
    if (mount("tmpfs", where.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m") != 0)
        problem_ = systemError("remount");
    return true;
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (mounted_)
        umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    else
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &savedAction_);
    getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit limited{bytes, saved_.rlim_max};
    if (setrlimit(RLIMIT_FSIZE, &limited) != 0)
        throw std::runtime_error("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &saved_);
    sigaction(SIGXFSZ, &savedAction_, nullptr);
}
