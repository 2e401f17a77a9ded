// The rights on a port and the user's groups, from the system's records.
#include "link/port_access.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <type_traits>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs a reentrant record lookup, growing its buffer until the record fits,
// and hands the record to take while its strings are still valid.
template <typename Record, typename Lookup, typename Take>
std::optional<std::invoke_result_t<Take, const Record &>> lookUp(Lookup &&lookup, Take &&take)
{
    std::vector<char> buffer(4096);
    Record record;
    Record *found = nullptr;
    int error;
    while ((error = lookup(&record, buffer.data(), buffer.size(), &found)) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found)
        return std::nullopt;
    return take(record);
}

struct User {
    QByteArray name;
    gid_t group;
};

std::optional<User> userOf(uid_t uid)
{
    return lookUp<passwd>([uid](passwd *p, char *b, size_t n, passwd **r) { return getpwuid_r(uid, p, b, n, r); },
                          [](const passwd &p) { return User{p.pw_name, p.pw_gid}; });
}

QString groupNameOf(gid_t gid)
{
    return lookUp<group>([gid](group *g, char *b, size_t n, group **r) { return getgrgid_r(gid, g, b, n, r); },
                         [](const group &g) { return QString::fromLocal8Bit(g.gr_name); })
        .value_or(QString::number(gid));
}

// The groups a new login of the user gets.
bool listedIn(gid_t gid, const User &user)
{
    int count = 64;
    std::vector<gid_t> groups;
    do {
        groups.resize(static_cast<size_t>(count));
    } while (getgrouplist(user.name.constData(), user.group, groups.data(), &count) < 0);
    return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

bool processIn(gid_t gid)
{
    std::vector<gid_t> groups(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
    const int count = std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0);
    return getegid() == gid || std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

} // namespace

PortAccess portAccessOf(const QString &path)
{
    PortAccess access;
    const std::optional<User> user = userOf(geteuid());
    access.user = user ? QString::fromLocal8Bit(user->name) : QString::number(geteuid());

    struct stat port;
    if (stat(QFile::encodeName(path).constData(), &port) != 0)
        return access;
    const std::optional<User> owner = userOf(port.st_uid);
    access.owner = owner ? QString::fromLocal8Bit(owner->name) : QString::number(port.st_uid);
    access.group = groupNameOf(port.st_gid);
    // The owner gets the owner's rights only, whatever the group may do.
    access.groupMayUse = port.st_uid != geteuid()
                         && (port.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    access.userListedInGroup = user && listedIn(port.st_gid, *user);
    access.processInGroup = processIn(port.st_gid);
    return access;
}
