// The recent-file list: up to RECENT_FILE_COUNT files, newest first, kept in the settings store
// under "Recent File List" as File1, File2 ...
#pragma once

#include <QString>
#include <QStringList>

class CRecentFileList {
public:
    explicit CRecentFileList(int capacity);

    void Load();
    void Save() const;
    // Puts the file first (moving it up if listed); the oldest falls off a full list.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Files() const { return m_files; }
    int Capacity() const { return m_capacity; }

    // Menu text of entry i (0-based): "&1 /home/me/box.pdm", with '&' doubled.
    static QString MenuText(int index, const QString& path);

private:
    int m_capacity;
    QStringList m_files;
};
