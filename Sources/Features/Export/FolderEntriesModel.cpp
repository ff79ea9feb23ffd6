#include "Features/Export/FolderEntriesModel.h"

#include "Export/FileErrorText.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <numeric>
#include <utility>
#include <vector>

namespace {

// Why the folder cannot be opened for listing (an errno), or 0. Neither the directory iterator nor
// the watcher tells an unreadable folder from an empty one.
int openError(const QString &path)
{
    DIR *probe = ::opendir(QFile::encodeName(path).constData());
    if (!probe)
        return errno;
    ::closedir(probe);
    return 0;
}

// The rows the folder holds now, in their order and cut at the limit, and the note on them.
std::pair<QList<FolderEntry>, QString> readFolder(const QString &path, int maximumRows)
{
    if (path.isEmpty())
        return {};
    if (const int error = openError(path); error != 0)
        return {{}, FileErrorText::listReason(error)};

    // Names and kinds first: a huge folder's other details are looked up for the rows shown alone.
    QList<FolderEntry> found;
    QDirIterator it(path, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const bool folder = info.isDir();
        if (folder || info.fileName().endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            found.append(FolderEntry{info.fileName(), folder, 0, {}});
    }

    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(found.size());
    for (const FolderEntry &entry : std::as_const(found))
        keys.push_back(collator.sortKey(entry.name));
    // Names the collator holds equal ("a" and "A", "2" and "02") still get a fixed order, so that
    // two readings of the same folder line up row by row.
    const auto before = [&](qsizetype a, qsizetype b) {
        if (found.at(a).isFolder != found.at(b).isFolder)
            return found.at(a).isFolder;
        if (const int order = keys[a].compare(keys[b]); order != 0)
            return order < 0;
        return found.at(a).name < found.at(b).name;
    };
    std::vector<qsizetype> order(found.size());
    std::iota(order.begin(), order.end(), 0);
    const qsizetype shown = std::min<qsizetype>(found.size(), std::max(0, maximumRows));
    std::partial_sort(order.begin(), order.begin() + shown, order.end(), before);

    QList<FolderEntry> entries;
    entries.reserve(shown);
    const QDir dir(path);
    for (qsizetype i = 0; i < shown; ++i) {
        FolderEntry entry = found.at(order[i]);
        const QFileInfo info(dir.filePath(entry.name));
        entry.size = entry.isFolder ? 0 : info.size();
        entry.modified = info.lastModified();
        entries.append(entry);
    }
    QString note;
    if (shown < found.size())
        note = QStringLiteral("Показаны первые %1 из %2 папок и PDF-файлов.")
                   .arg(QLocale().toString(shown), QLocale().toString(found.size()));
    return {entries, note};
}

bool sameEntry(const FolderEntry &a, const FolderEntry &b)
{
    return a.isFolder == b.isFolder && a.name == b.name;
}

} // namespace

FolderEntriesModel::FolderEntriesModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_refresh.setSingleShot(true);
    connect(&m_refresh, &QTimer::timeout, this, &FolderEntriesModel::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (m_refresh.isActive())
            return;
        // A folder that takes long to read is read less often while it keeps changing.
        m_refresh.start(int(std::clamp<qint64>(4 * m_lastReadMs, 50, 2000)));
    });
}

void FolderEntriesModel::setFolder(const QString &path)
{
    if (path == m_folder) {
        refresh();
        return;
    }
    m_refresh.stop();
    m_folder = path;
    watch();
    QElapsedTimer clock;
    clock.start();
    auto [entries, note] = readFolder(path, m_maximumRows);
    m_lastReadMs = clock.elapsed();
    // All rows out, then the new ones in, rather than a reset: a view that is still making a row of
    // the old folder in the background cancels it cleanly.
    const int before = count();
    if (before > 0) {
        beginRemoveRows({}, 0, before - 1);
        m_entries.clear();
        endRemoveRows();
    }
    if (!entries.isEmpty()) {
        beginInsertRows({}, 0, int(entries.size()) - 1);
        m_entries = std::move(entries);
        endInsertRows();
    }
    if (count() != before)
        Q_EMIT countChanged();
    setNote(note);
}

// Watched before it is read, so that no change falls in between. A folder that cannot be listed
// (gone, or no rights) cannot be watched either: the nearest folder above it that can is watched
// instead, where its coming back (made again, rights given) shows as a change; the next reading
// then watches the folder itself again.
void FolderEntriesModel::watch()
{
    QString wanted = m_folder;
    while (!wanted.isEmpty() && openError(wanted) != 0) {
        const QString above = QFileInfo(wanted).absolutePath();
        wanted = above == wanted ? QString() : above;
    }
    const QStringList watched = m_watcher.directories();
    if (watched.size() == 1 && watched.constFirst() == wanted)
        return;
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    if (!wanted.isEmpty())
        m_watcher.addPath(wanted);
}

void FolderEntriesModel::refresh()
{
    watch();
    QElapsedTimer clock;
    clock.start();
    const auto [fresh, note] = readFolder(m_folder, m_maximumRows);
    m_lastReadMs = clock.elapsed();
    const int before = count();

    // Rows that are gone (or a file that became a folder) are removed, in runs from the bottom up.
    QHash<QString, bool> kept;
    kept.reserve(fresh.size());
    for (const FolderEntry &entry : fresh)
        kept.insert(entry.name, entry.isFolder);
    const auto stays = [&](const FolderEntry &entry) {
        const auto found = kept.constFind(entry.name);
        return found != kept.cend() && *found == entry.isFolder;
    };
    for (int last = count() - 1; last >= 0;) {
        if (stays(m_entries.at(last))) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !stays(m_entries.at(first - 1)))
            --first;
        beginRemoveRows({}, first, last);
        m_entries.remove(first, last - first + 1);
        endRemoveRows();
        last = first - 1;
    }

    // The rows left are in the fresh order, so new rows go in between them, in runs.
    int row = 0;
    for (qsizetype at = 0; at < fresh.size();) {
        if (row < count() && sameEntry(m_entries.at(row), fresh.at(at))) {
            if (!(m_entries.at(row) == fresh.at(at))) {
                m_entries[row] = fresh.at(at);
                Q_EMIT dataChanged(index(row), index(row));
            }
            ++row;
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        while (end < fresh.size() && !(row < count() && sameEntry(m_entries.at(row), fresh.at(end))))
            ++end;
        beginInsertRows({}, row, row + int(end - at) - 1);
        m_entries.insert(row, end - at, FolderEntry{});
        std::copy(fresh.cbegin() + at, fresh.cbegin() + end, m_entries.begin() + row);
        endInsertRows();
        row += int(end - at);
        at = end;
    }
    if (count() != before)
        Q_EMIT countChanged();
    setNote(note);
}

void FolderEntriesModel::setNote(const QString &note)
{
    if (note == m_note)
        return;
    m_note = note;
    Q_EMIT noteChanged();
}

int FolderEntriesModel::indexOf(const QUrl &url) const
{
    if (!url.isLocalFile() || m_folder.isEmpty())
        return -1;
    const QFileInfo info(QDir::cleanPath(url.toLocalFile()));
    if (info.absolutePath() != m_folder)
        return -1;
    const QString name = info.fileName();
    const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const FolderEntry &entry) { return entry.name == name; });
    return found == m_entries.cend() ? -1 : int(found - m_entries.cbegin());
}

QString FolderEntriesModel::fileName(int row) const
{
    return row >= 0 && row < count() ? m_entries.at(row).name : QString();
}

bool FolderEntriesModel::isFolder(int row) const
{
    return row >= 0 && row < count() && m_entries.at(row).isFolder;
}

QUrl FolderEntriesModel::fileUrl(int row) const
{
    return row >= 0 && row < count() ? QUrl::fromLocalFile(QDir(m_folder).filePath(m_entries.at(row).name)) : QUrl();
}

int FolderEntriesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FolderEntriesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const FolderEntry &entry = m_entries.at(index.row());
    switch (role) {
    case FileNameRole:
        return entry.name;
    case FileIsDirRole:
        return entry.isFolder;
    case FileSizeRole:
        return entry.size;
    case FileModifiedRole:
        return entry.modified;
    case FileUrlRole:
        return fileUrl(index.row());
    }
    return {};
}

QHash<int, QByteArray> FolderEntriesModel::roleNames() const
{
    return {
        {FileNameRole, "fileName"},         {FileIsDirRole, "fileIsDir"}, {FileSizeRole, "fileSize"},
        {FileModifiedRole, "fileModified"}, {FileUrlRole, "fileUrl"},
    };
}
