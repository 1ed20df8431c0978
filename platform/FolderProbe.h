#pragma once

#include <QByteArray>
#include <QString>

// Asks whether files exist in one folder, many names in a row: the folder is opened once and
// each name is looked up relative to it, without building full paths.
class FolderProbe final {
public:
    explicit FolderProbe(const QString& folder);
    ~FolderProbe();
    FolderProbe(const FolderProbe&) = delete;
    FolderProbe& operator=(const FolderProbe&) = delete;

    // `name` is a file name in the file system's encoding; false also when the folder is missing.
    bool exists(const char* name) const;

private:
    QByteArray m_folder; // with a separator, for platforms without relative look-ups
    int m_fd = -1;
};
