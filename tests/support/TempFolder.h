#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh folder per test with small helpers for raw file bytes.
class TempFolder final {
public:
    TempFolder();
    // Path of a file inside the folder, no separator games.
    QString file(const QString& name) const;
    QString path() const { return m_dir.path(); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir m_dir;
};
