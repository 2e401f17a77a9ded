#pragma once

#include <QByteArray>
#include <QString>

#include <map>

#include <signal.h>
#include <sys/resource.h>

// A folder that takes no new files and no changes, holding the files it was
// made with. For root, whom permissions do not stop, it is a read-only file
// system mounted in a mount namespace of the calling thread's own; for
// others a folder without write permission.
class ReadOnlyFolder
{
public:
    ReadOnlyFolder(const QString &path, const std::map<QString, QByteArray> &files);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Empty when the folder is read-only; else why it could not be made so.
    const QString &problem() const { return problem_; }
    QString filePath(const QString &name) const { return path_ + QLatin1Char('/') + name; }

private:
    bool mountReadOnly(const std::map<QString, QByteArray> &files);

    QString path_;
    QString problem_;
    bool mounted_ = false;
};

// While it lives, no file of this process grows past a number of bytes, as
// if the disk were full: a write beyond fails instead of raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved_{};
    struct sigaction savedAction_{};
};
