#include "image/replacing_file.h"

#include "core/operation_error.h"
#include "core/write_all.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

// What a newly created file gets from a usual umask: a temporary file is
// made readable by its owner only.
constexpr QFileDevice::Permissions kNewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser
    | QFileDevice::ReadGroup | QFileDevice::ReadOther;

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

ReplacingFile::ReplacingFile(const QString &target)
    : target_(target), file_(QFileInfo(target).absoluteFilePath() + QStringLiteral(".XXXXXX"))
{
    // Unbuffered, so that a full disk is reported with its reason by the
    // write that meets it. QTemporaryFile hides the open() that takes a mode;
    // through QFile it is reached.
    if (!static_cast<QFile &>(file_).open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        fail(QStringLiteral("Не удалось создать файл образа %1: %2"));
}

void ReplacingFile::write(const char *bytes, qint64 length)
{
    if (!writeAll(file_, bytes, length))
        fail(QStringLiteral("Не удалось записать файл образа %1: %2"));
}

// The data is left to the system to flush: the image is rebuilt from the
// table at will, and waiting for the disk would cost more than the build.
void ReplacingFile::commit()
{
    const QFileInfo existing(target_);
    file_.setPermissions(existing.exists() ? existing.permissions() : kNewFilePermissions);
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        fail(QStringLiteral("Не удалось записать файл образа %1: %2"));

    std::error_code error;
    std::filesystem::rename(nativePath(file_.fileName()), nativePath(target_), error);
    if (error)
        throw OperationError(QStringLiteral("Не удалось записать файл образа %1: %2")
                                 .arg(target_, QString::fromStdString(error.message())));
    file_.setAutoRemove(false);
}

void ReplacingFile::fail(const QString &what) const
{
    throw OperationError(what.arg(target_, file_.errorString()));
}
