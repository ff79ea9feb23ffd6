#pragma once

#include "Features/Export/FolderEntry.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QList>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// The rows of the save dialog's folder: its folders (not the hidden ones), then its PDF files (any
// case of the suffix), each by name as a Russian reader sorts them ("Папка 2" before "Папка 10").
// The folder is read at once when it is set, so that a selection can land on a row straight after;
// later changes on the disk come in as inserted and removed rows, which keeps the chosen row chosen;
// a folder that goes away and comes back is followed again.
// A huge folder shows its first rows only, and a folder that cannot be read shows none; `note`
// tells which.
class FolderEntriesModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the save dialog's model")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    // Why the rows are not all the folder holds, or empty.
    Q_PROPERTY(QString note READ note NOTIFY noteChanged)

public:
    enum Role {
        FileNameRole = Qt::UserRole + 1,
        FileIsDirRole,
        FileSizeRole,
        FileModifiedRole,
        FileUrlRole,
    };

    explicit FolderEntriesModel(QObject *parent = nullptr);

    // Rows past this many are not shown (5,000 unless set): laying out more would freeze the
    // window for nothing. Takes effect at the next reading.
    int maximumRows() const { return m_maximumRows; }
    void setMaximumRows(int rows) { m_maximumRows = rows; }

    QString folder() const { return m_folder; }
    // Reads the folder now and watches it from then on; an empty path shows nothing.
    void setFolder(const QString &path);
    int count() const { return int(m_entries.size()); }
    QString note() const { return m_note; }
    const QList<FolderEntry> &entries() const { return m_entries; }

    // The row of the file or folder, or -1.
    Q_INVOKABLE int indexOf(const QUrl &url) const;
    // A row's values ("" / false / an empty URL outside the rows).
    Q_INVOKABLE QString fileName(int row) const;
    Q_INVOKABLE bool isFolder(int row) const;
    Q_INVOKABLE QUrl fileUrl(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();
    void noteChanged();

private:
    // Brings the rows to what the folder holds now, row by row.
    void refresh();
    void watch();
    void setNote(const QString &note);

    QString m_folder;
    QList<FolderEntry> m_entries;
    QString m_note;
    int m_maximumRows = 5000;
    QFileSystemWatcher m_watcher;
    // Changes come in bursts (a copy, a download): they are read once the burst has had a moment.
    QTimer m_refresh;
    qint64 m_lastReadMs = 0;
};
