#pragma once

#include <QString>

// What happens to one file, as the kernel tells it: how often it was opened and how often a new
// file took its name (a replace or a first write). Counts file work without a seam in the code
// under test. Only where the system reports such events (Linux); elsewhere available() is false.
class FileEvents final {
public:
    struct Counts {
        int opened = 0;
        int replaced = 0;
    };

    // Starts watching the file's folder.
    explicit FileEvents(const QString& path);
    ~FileEvents();
    FileEvents(const FileEvents&) = delete;
    FileEvents& operator=(const FileEvents&) = delete;

    bool available() const { return m_fd >= 0; }
    // The events since the watch began or since the last take.
    Counts take();

private:
    int m_fd = -1;
    QString m_name;
};
