#pragma once

#include <QString>

// What the about box says about the program and where its makers can be reached.
namespace AboutInfo {

inline const QString kProduct = QStringLiteral("QuavScheduler for Windows95/98/Me");
inline const QString kVersion = QStringLiteral("Version 2.15");
inline const QString kRights = QStringLiteral("Copyright (C) 2026 QuavScheduler maintainers");
// The maintainers' own addresses, as recorded in the project's history.
inline const QString kWebPage = QStringLiteral("https://c-seed-50ba0420.example/QuavScheduler/");
inline const QString kMail = QStringLiteral("mailto:maintainers@users.noreply.c-seed-50ba0420.example");

} // namespace AboutInfo
