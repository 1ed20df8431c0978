#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <stdexcept>

// The bytes of a file under tests/data; each test target defines QUAV_TEST_DATA.
inline QByteArray testData(const QString& relativePath)
{
    QFile f(QStringLiteral(QUAV_TEST_DATA "/") + relativePath);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing test data: " + relativePath.toStdString());
    return f.readAll();
}

// An INI file of tests/data/ini.
inline QByteArray fixture(const char* name)
{
    return testData(QStringLiteral("ini/") + QLatin1String(name));
}
