#include "SaveFileDialogModel.h"

#include "Utils/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <iterator>

SaveFileDialogModel::SaveFileDialogModel(QObject *parent)
    : QObject(parent)
    , m_folder(QDir::homePath())
{
}

void SaveFileDialogModel::setFolder(const QUrl &folder)
{
    QString path = folder.isLocalFile() ? QDir::cleanPath(folder.toLocalFile()) : QDir::homePath();
    while (!QFileInfo(path).isDir() && !QDir(path).isRoot())
        path = QFileInfo(path).absolutePath();
    if (path == m_folder)
        return;
    m_folder = path;
    Q_EMIT folderChanged();
}

QString SaveFileDialogModel::folderText() const
{
    return QDir::toNativeSeparators(m_folder);
}

bool SaveFileDialogModel::canGoUp() const
{
    return !QDir(m_folder).isRoot();
}

void SaveFileDialogModel::goUp()
{
    if (canGoUp())
        setFolder(QUrl::fromLocalFile(QFileInfo(m_folder).absolutePath()));
}

QString SaveFileDialogModel::destination(const QString &typedName) const
{
    const QString name = Text::trimmedSpacesAndTabs(typedName);
    if (name.isEmpty() || name.endsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\n')))
        return {};
    QString path = QDir::cleanPath(QDir(m_folder).absoluteFilePath(name));
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += path.endsWith(QLatin1Char('.')) ? QStringLiteral("pdf") : QStringLiteral(".pdf");
    return path;
}

QUrl SaveFileDialogModel::destinationUrl(const QString &typedName) const
{
    const QString path = destination(typedName);
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
}

bool SaveFileDialogModel::fileExists(const QString &path) const
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool SaveFileDialogModel::folderExists(const QString &path) const
{
    return QFileInfo(path).isDir();
}

QString SaveFileDialogModel::replaceQuestion(const QString &path) const
{
    return QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(QFileInfo(path).fileName());
}

QString SaveFileDialogModel::sizeText(qint64 bytes) const
{
    // Qt's own data sizes keep the English units ("KiB") in any locale.
    static const char *const units[] = {"КБ", "МБ", "ГБ", "ТБ"};
    if (bytes < 1024)
        return QStringLiteral("%1 байт").arg(QLocale().toString(bytes));
    double value = double(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    return QLocale().toString(value, 'f', 1) + QChar(0x00A0) + QString::fromUtf8(units[unit]);
}

QString SaveFileDialogModel::dateText(const QDateTime &modified) const
{
    return QLocale().toString(modified, QLocale::ShortFormat);
}
