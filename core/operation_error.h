#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// An operation that could not be done because of the platform (a file that
// cannot be opened, read or written), carrying the message the user sees.
// Operations throw it; the window's handlers catch it at their top.
class OperationError : public std::exception
{
public:
    explicit OperationError(QString message)
        : message_(std::move(message)), utf8_(message_.toUtf8())
    {
    }

    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
