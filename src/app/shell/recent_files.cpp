// The recent-file list: its order, its capacity and its entries in the settings store.
#include "app/shell/recent_files.h"

#include <QDir>
#include <QFileInfo>

#include "app/shell/settings.h"

namespace {
const QString kGroup = QStringLiteral("Recent File List");
QString Key(int i) { return QStringLiteral("File%1").arg(i + 1); }

// The same file reached through different spellings is one entry.
QString Canonical(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }
}  // namespace

CRecentFileList::CRecentFileList(int capacity) : m_capacity(capacity) {}

void CRecentFileList::Load()
{
    m_files.clear();
    auto settings = OpenSettings();
    settings->beginGroup(kGroup);
    for (int i = 0; i < m_capacity; ++i) {
        const QString path = settings->value(Key(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path)) m_files.append(path);
    }
    settings->endGroup();
}

void CRecentFileList::Save() const
{
    auto settings = OpenSettings();
    settings->beginGroup(kGroup);
    for (int i = 0; i < m_capacity; ++i) {
        if (i < m_files.size())
            settings->setValue(Key(i), m_files[i]);
        else
            settings->remove(Key(i));
    }
    settings->endGroup();
    settings->sync();
}

void CRecentFileList::Add(const QString& path)
{
    const QString file = Canonical(path);
    m_files.removeAll(file);
    m_files.prepend(file);
    while (m_files.size() > m_capacity) m_files.removeLast();
}

void CRecentFileList::Remove(const QString& path)
{
    m_files.removeAll(Canonical(path));
    m_files.removeAll(path);
}

QString CRecentFileList::MenuText(int index, const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
