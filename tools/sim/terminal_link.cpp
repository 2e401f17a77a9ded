#include "tools/sim/terminal_link.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <system_error>
#include <unistd.h>

std::unique_ptr<TerminalLink> TerminalLink::create(const QString &path, const QString &target,
                                                   QString &problem)
{
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isSymLink()) {
        problem = QStringLiteral("%1 уже существует и не является символической ссылкой").arg(path);
        return nullptr;
    }
    // A new link renamed over the old one: the path never stops pointing somewhere.
    const QByteArray temporary = QFile::encodeName(path + QStringLiteral(".%1").arg(getpid()));
    if (symlink(QFile::encodeName(target).constData(), temporary.constData()) != 0
        || rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        problem = QStringLiteral("Не удалось создать ссылку %1: %2")
                      .arg(path, QString::fromStdString(std::generic_category().message(errno)));
        unlink(temporary.constData());
        return nullptr;
    }
    return std::unique_ptr<TerminalLink>(new TerminalLink(path, target));
}

TerminalLink::~TerminalLink()
{
    // A later simulator may have taken the path over; its link stays.
    if (QFileInfo(path_).symLinkTarget() == target_)
        unlink(QFile::encodeName(path_).constData());
}
