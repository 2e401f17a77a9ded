#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

// An image file written beside its target and moved into the target's place
// only by commit(), so a build that stops half-way leaves the old file as it
// was and no partial file behind. Errors throw OperationError.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &target);

    void write(const char *bytes, qint64 length);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    void commit();

private:
    [[noreturn]] void fail(const QString &what) const;

    QString target_;
    QTemporaryFile file_;
};
