#pragma once

#include "resources/AppId.h"

#include <QString>

// What the about box says about the program and where its makers can be reached.
namespace AboutInfo {

inline const QString kProduct = QStringLiteral("QuavScheduler for Windows95/98/Me");
inline const QString kVersion = QStringLiteral("Version 2.15");
inline const QString kRights = QStringLiteral("Copyright (C) 2026 QuavScheduler maintainers");
inline const QString kWebPage = QStringLiteral(QUAV_HOMEPAGE);
inline const QString kMail = QStringLiteral("mailto:" QUAV_MAIL);

} // namespace AboutInfo
