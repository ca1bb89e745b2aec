#pragma once

#include <QString>
#include <stdexcept>

/// Base of every failure the program raises itself. The message is meant for the
/// user: the exception box shows it as it stands.
class EKorvaneError : public std::runtime_error
{
public:
    explicit EKorvaneError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& Message() const { return m_message; }

private:
    QString m_message;
};

/// A failure reported by the database server or the client library.
class EDatabaseError : public EKorvaneError
{
public:
    explicit EDatabaseError(const QString& message, int nativeCode = 0)
        : EKorvaneError(message), m_nativeCode(nativeCode)
    {
    }
    /// The server's or client library's error number, 0 when there is none.
    int NativeCode() const { return m_nativeCode; }

private:
    int m_nativeCode;
};

/// No usable host name in any settings file: the program cannot start.
class ENoHostName : public EKorvaneError
{
public:
    ENoHostName() : EKorvaneError(QStringLiteral("No DBHostName in any mysql.txt")) {}
};

/// A settings file's value that cannot be used: the program cannot start. The message
/// names the file and the key.
class EBadSetting : public EKorvaneError
{
public:
    using EKorvaneError::EKorvaneError;
};

/// A value a column cannot hold (a number out of its range, text that is no number).
/// Nothing was stored; the message says what the column takes.
class ERefusedValue : public EKorvaneError
{
public:
    ERefusedValue(const QString& message, const QString& column)
        : EKorvaneError(message), m_column(column)
    {
    }
    const QString& Column() const { return m_column; }

private:
    QString m_column;
};
