#pragma once

#include "Features/Export/FolderEntriesModel.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// The save dialog's model: the folder it shows and its rows, the way up and down the folders, new
// folders, and the file a typed name stands for. The rows' sizes and dates are formatted here, in
// the application's locale.
class SaveFileDialogModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QUrl folder READ folder WRITE setFolder NOTIFY folderChanged)
    // The folder's path as the user reads it.
    Q_PROPERTY(QString folderText READ folderText NOTIFY folderChanged)
    // ... and as a screen reader says it.
    Q_PROPERTY(QString folderSpoken READ folderSpoken NOTIFY folderChanged)
    Q_PROPERTY(bool canGoUp READ canGoUp NOTIFY folderChanged)
    // The folder's rows, already read when folderChanged is told.
    Q_PROPERTY(FolderEntriesModel *entries READ entries CONSTANT)

public:
    explicit SaveFileDialogModel(QObject *parent = nullptr);

    QUrl folder() const { return QUrl::fromLocalFile(m_folder); }
    // A folder that is not there shows the nearest one above it that is.
    void setFolder(const QUrl &folder);
    QString folderText() const;
    QString folderSpoken() const { return QStringLiteral("Папка: ") + folderText(); }
    bool canGoUp() const;
    FolderEntriesModel *entries() { return &m_entries; }

    // Goes to the folder above; the folder it left (to be selected there), or an empty URL at the top.
    Q_INVOKABLE QUrl goUp();

    // Why a new folder cannot take this name (blank, "." or "..", a "/" or a NUL, too long for the
    // disk, taken), or empty. Blanks around the name do not count.
    Q_INVOKABLE QString folderNameProblem(const QString &name) const;
    // "Новая папка", or the first of "Новая папка 2", "Новая папка 3", ... that is free here.
    Q_INVOKABLE QString freeFolderName() const;
    // Makes the folder here and enters it; why it could not, or empty.
    Q_INVOKABLE QString createFolder(const QString &name);

    // Why the dialog cannot save under this name, or empty: its file must lie in the folder shown,
    // so blank, "." and "..", and a "/", a NUL or a line break are refused, with the reason told
    // as the new folder's are. Blanks around the name do not count.
    Q_INVOKABLE QString fileNameProblem(const QString &typedName) const;
    // The file a name typed in the folder stands for, ".pdf" added when missing; empty for a name
    // refused above.
    Q_INVOKABLE QString destination(const QString &typedName) const;
    Q_INVOKABLE QUrl destinationUrl(const QString &typedName) const;
    Q_INVOKABLE bool fileExists(const QString &path) const;
    Q_INVOKABLE bool folderExists(const QString &path) const;
    // "Файл «<name>» уже существует. Заменить его?"
    Q_INVOKABLE QString replaceQuestion(const QString &path) const;

    Q_INVOKABLE QString sizeText(qint64 bytes) const;
    Q_INVOKABLE QString dateText(const QDateTime &modified) const;

Q_SIGNALS:
    void folderChanged();

private:
    QString m_folder;
    FolderEntriesModel m_entries;
};
