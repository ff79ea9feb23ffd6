#include "SaveFileDialogModel.h"

#include "Export/FileErrorText.h"
#include "Utils/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <climits>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why a name cannot stand for an entry of the folder, or empty: "." and ".." are the folder itself
// and the one above it, and a "/" reaches into another. `of` says whose name it is ("папки").
QString entryNameProblem(const QString &name, const QString &of)
{
    if (name.isEmpty())
        return QStringLiteral("Введите имя %1.").arg(of);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("Имена «.» и «..» заняты системой. Выберите другое.");
    if (name.contains(QLatin1Char('/')))
        return QStringLiteral("В имени %1 не может быть знака «/».").arg(of);
    if (name.contains(QChar(0)))
        return QStringLiteral("В имени %1 не может быть нулевого символа.").arg(of);
    return {};
}

} // namespace

SaveFileDialogModel::SaveFileDialogModel(QObject *parent)
    : QObject(parent)
    , m_folder(QDir::homePath())
    , m_entries(this)
{
    m_entries.setFolder(m_folder);
}

void SaveFileDialogModel::setFolder(const QUrl &folder)
{
    QString path = folder.isLocalFile() ? QDir::cleanPath(folder.toLocalFile()) : QDir::homePath();
    while (!QFileInfo(path).isDir() && !QDir(path).isRoot())
        path = QFileInfo(path).absolutePath();
    if (path == m_folder)
        return;
    m_folder = path;
    m_entries.setFolder(path);
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

QUrl SaveFileDialogModel::goUp()
{
    if (!canGoUp())
        return {};
    const QString left = m_folder;
    setFolder(QUrl::fromLocalFile(QFileInfo(m_folder).absolutePath()));
    return QUrl::fromLocalFile(left);
}

QString SaveFileDialogModel::folderNameProblem(const QString &typedName) const
{
    const QString name = Text::trimmedSpacesAndTabs(typedName);
    if (const QString problem = entryNameProblem(name, QStringLiteral("папки")); !problem.isEmpty())
        return problem;
    // The disk's limit is in bytes: a Cyrillic letter takes two.
    const long limit = ::pathconf(QFile::encodeName(m_folder).constData(), _PC_NAME_MAX);
    if (QFile::encodeName(name).size() > (limit > 0 ? limit : NAME_MAX))
        return FileErrorText::folderReason(ENAMETOOLONG);
    struct stat info
    {};
    if (::lstat(QFile::encodeName(QDir(m_folder).filePath(name)).constData(), &info) == 0)
        return FileErrorText::folderReason(EEXIST);
    return {};
}

QString SaveFileDialogModel::freeFolderName() const
{
    const QString base = QStringLiteral("Новая папка");
    QString name = base;
    for (int number = 2; number < 1000 && QFileInfo::exists(QDir(m_folder).filePath(name)); ++number)
        name = base + QLatin1Char(' ') + QString::number(number);
    return name;
}

QString SaveFileDialogModel::createFolder(const QString &typedName)
{
    if (const QString problem = folderNameProblem(typedName); !problem.isEmpty())
        return problem;
    const QString path = QDir(m_folder).filePath(Text::trimmedSpacesAndTabs(typedName));
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        return FileErrorText::folderReason(errno);
    setFolder(QUrl::fromLocalFile(path));
    return {};
}

QString SaveFileDialogModel::fileNameProblem(const QString &typedName) const
{
    const QString name = Text::trimmedSpacesAndTabs(typedName);
    if (const QString problem = entryNameProblem(name, QStringLiteral("файла")); !problem.isEmpty())
        return problem;
    if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        return QStringLiteral("В имени файла не может быть перевода строки.");
    return {};
}

QString SaveFileDialogModel::destination(const QString &typedName) const
{
    if (!fileNameProblem(typedName).isEmpty())
        return {};
    const QString name = Text::trimmedSpacesAndTabs(typedName);
    QString path = QDir(m_folder).filePath(name);
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
