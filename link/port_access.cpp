#include "link/port_access.h"

QString noAccessAdvice(const PortAccess &access)
{
    if (access.owner.isEmpty())
        return QStringLiteral("у пользователя %1 нет прав на его открытие").arg(access.user);
    if (access.groupMayUse && !access.userListedInGroup)
        return QStringLiteral("добавьте пользователя в группу %1 (sudo usermod -aG %1 %2) "
                              "и войдите в систему заново")
            .arg(access.group, access.user);
    // A membership takes effect with the next login; until then the
    // programs of the session run without it.
    if (access.groupMayUse && !access.processInGroup)
        return QStringLiteral("пользователь %1 уже в группе %2, но это действует только после "
                              "нового входа в систему: выйдите из системы и войдите заново")
            .arg(access.user, access.group);
    return QStringLiteral("права на порт (владелец %1, группа %2) не позволяют пользователю %3 "
                          "его открыть")
        .arg(access.owner, access.group, access.user);
}
