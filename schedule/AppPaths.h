#pragma once

#include <QString>

// Where the settings file and the default data folder live: beside the program, as a portable
// program keeps them, or in the per-user folders when the program's folder cannot be written or
// the program was installed (its desktop entry lies in the share/ folder beside its bin/).
struct AppPaths {
    QString iniPath;
    QString dataFolder; // ends with a separator
    bool perUser = false;

    static AppPaths derive(const QString& programFolder, const QString& configHome, const QString& dataHome);
    // The same from the environment: $XDG_CONFIG_HOME and $XDG_DATA_HOME or their defaults.
    static AppPaths forProgram(const QString& programFolder);
};
