#pragma once

#include <QString>

#include <exception>

// Failures travel as exceptions carrying the text the user is shown.
class EQuavError : public std::exception {
public:
    explicit EQuavError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A file could not be opened, read, created or written.
class EInOutError : public EQuavError {
public:
    using EQuavError::EQuavError;
};

// A text that had to be a number or a colour was neither; also a refused assignment.
class EConvertError : public EQuavError {
public:
    using EQuavError::EQuavError;
};

// The per-user registry refused a value or held one of the wrong type.
class ERegistryError : public EQuavError {
public:
    using EQuavError::EQuavError;
};

// An index outside a list or collection.
class EListError : public EQuavError {
public:
    using EQuavError::EQuavError;
};

// The system refused a resource: a tray icon could not be registered, or too many exist.
class EOutOfResources : public EQuavError {
public:
    using EQuavError::EQuavError;
};

// Fills the first "%s" of a message template with each argument in turn.
QString formatMessage(const QString& pattern, const QString& a1);
QString formatMessage(const QString& pattern, const QString& a1, const QString& a2);
