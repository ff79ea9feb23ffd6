#include "Export/CommercialProposalPDF.h"
#include "Export/FileErrorText.h"
#include "Export/PDFSaveHelper.h"
#include "Export/ProposalTempFolder.h"
#include "ReadOnlyFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <ctime>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// Sets the modification time two days back, as a render of an earlier day has.
bool ageByTwoDays(const QString &path)
{
    const time_t then = ::time(nullptr) - 2 * 24 * 3600;
    const struct timeval times[2] = {{then, 0}, {then, 0}};
    return ::utimes(QFile::encodeName(path).constData(), times) == 0;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return file.readAll();
}

} // namespace

class tst_PDFSaveHelper : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveOverExistingFile();
    void saveToTheSamePlaceTwice();
    void destinationIsTheSource();
    void failedCopyKeepsTheOldFile();
    void temporaryFolderIsPrivate();
    void temporaryFolderRefusesSymlink();
    void temporaryFolderRefusesAFile();
    void writeTempPDFGivesEachRenderItsOwnFile();
    void writeTempPDFFailsWithoutFolder();
    void destinationFromTheDialog_data();
    void destinationFromTheDialog();
    void failuresAreToldInRussianWithThePath_data();
    void failuresAreToldInRussianWithThePath();
    void reasonsNameTheSystemsError_data();
    void reasonsNameTheSystemsError();
    void longPathsAreCutInTheMiddle();
    void startFolderIsDocumentsOnlyWhenItExists();
    void writeTempPDFRemovesRendersOfEarlierDays();
    void removeRenderTakesItsFolderOnly();
};

void tst_PDFSaveHelper::saveOverExistingFile()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.pdf"));
    const QString destination = dir.filePath(QStringLiteral("copy.pdf"));
    writeFile(source, "new bytes");
    writeFile(destination, "old bytes that are longer");
    const PDFSaveResult result = PDFSaveHelper::save(source, destination);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.path, destination);
    QCOMPARE(readFile(destination), QByteArray("new bytes"));
    QCOMPARE(readFile(source), QByteArray("new bytes"));
}

void tst_PDFSaveHelper::saveToTheSamePlaceTwice()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.pdf"));
    const QString destination = dir.filePath(QStringLiteral("copy.pdf"));
    writeFile(source, "first");
    QVERIFY(PDFSaveHelper::save(source, destination).ok);
    writeFile(source, "second");
    QVERIFY(PDFSaveHelper::save(source, destination).ok);
    QCOMPARE(readFile(destination), QByteArray("second"));
}

void tst_PDFSaveHelper::destinationIsTheSource()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.pdf"));
    writeFile(source, "the proposal");
    // Through another spelling of the same path, too.
    for (const QString &destination : {source, dir.path() + QStringLiteral("/./source.pdf")}) {
        const PDFSaveResult result = PDFSaveHelper::save(source, destination);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readFile(source), QByteArray("the proposal"));
    }
}

void tst_PDFSaveHelper::failedCopyKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString destination = dir.filePath(QStringLiteral("copy.pdf"));
    writeFile(destination, "old bytes");
    const PDFSaveResult result = PDFSaveHelper::save(dir.filePath(QStringLiteral("gone.pdf")), destination);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(readFile(destination), QByteArray("old bytes"));

    // A source that cannot be read as a file (a folder) fails the same way.
    const PDFSaveResult fromFolder = PDFSaveHelper::save(dir.path(), destination);
    QVERIFY(!fromFolder.ok);
    QCOMPARE(readFile(destination), QByteArray("old bytes"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("copy.pdf")});
}

void tst_PDFSaveHelper::temporaryFolderIsPrivate()
{
    QTemporaryDir base;
    const std::optional<QString> folder = ProposalTempFolder::ensure(base.path());
    QVERIFY(folder);
    QCOMPARE(*folder, base.path() + QStringLiteral("/tessmark-") + QString::number(::getuid()));
    struct stat info
    {};
    QCOMPARE(::lstat(QFile::encodeName(*folder).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0700);

    // An existing folder of ours with a looser mode is tightened.
    QCOMPARE(::chmod(QFile::encodeName(*folder).constData(), 0755), 0);
    QCOMPARE(ProposalTempFolder::ensure(base.path()), folder);
    QCOMPARE(::lstat(QFile::encodeName(*folder).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0700);
}

void tst_PDFSaveHelper::temporaryFolderRefusesSymlink()
{
    QTemporaryDir base;
    QTemporaryDir elsewhere;
    const QString planted = base.path() + QStringLiteral("/tessmark-") + QString::number(::getuid());
    QVERIFY(QFile::link(elsewhere.path(), planted));
    QVERIFY(!ProposalTempFolder::ensure(base.path()));
    QVERIFY(!CommercialProposalPDF::writeTempPDF("%PDF", QStringLiteral("x"), base.path()));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

void tst_PDFSaveHelper::temporaryFolderRefusesAFile()
{
    QTemporaryDir base;
    writeFile(base.path() + QStringLiteral("/tessmark-") + QString::number(::getuid()), "not a folder");
    QVERIFY(!ProposalTempFolder::ensure(base.path()));
}

void tst_PDFSaveHelper::writeTempPDFGivesEachRenderItsOwnFile()
{
    QTemporaryDir base;
    // Both names filter to "Сайт": the second render must not overwrite the first.
    const std::optional<QString> first =
        CommercialProposalPDF::writeTempPDF("first", QStringLiteral("Сайт!"), base.path());
    const std::optional<QString> second =
        CommercialProposalPDF::writeTempPDF("second", QStringLiteral("Сайт?"), base.path());
    const std::optional<QString> again =
        CommercialProposalPDF::writeTempPDF("third", QStringLiteral("Сайт!"), base.path());
    QVERIFY(first && second && again);
    QVERIFY(*first != *second && *first != *again && *second != *again);
    // Each in a private folder of its own, under the name a client receives.
    const QRegularExpression named(QStringLiteral("/tessmark-\\d+/render-[^/]{6}/KP-Сайт\\.pdf$"));
    for (const QString &path : {*first, *second, *again}) {
        QVERIFY2(named.match(path).hasMatch(), qPrintable(path));
        struct stat info
        {};
        QCOMPARE(::stat(QFile::encodeName(QFileInfo(path).path()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }
    QCOMPARE(readFile(*first), QByteArray("first"));
    QCOMPARE(readFile(*second), QByteArray("second"));
    QCOMPARE(readFile(*again), QByteArray("third"));
    // The save dialog still proposes the name the project gives.
    QCOMPARE(PDFSaveHelper::suggestedFilename(QStringLiteral("Сайт!")), QStringLiteral("KP-Сайт.pdf"));
}

void tst_PDFSaveHelper::writeTempPDFFailsWithoutFolder()
{
    QTemporaryDir base;
    QVERIFY(!CommercialProposalPDF::writeTempPDF("x", QStringLiteral("p"),
                                                 base.filePath(QStringLiteral("missing/deeper"))));
    QCOMPARE(CommercialProposalPDF::creationErrorText(), QStringLiteral("Не удалось создать PDF"));
}

void tst_PDFSaveHelper::destinationFromTheDialog_data()
{
    QTest::addColumn<QUrl>("chosen");
    QTest::addColumn<QString>("path"); // empty: not a file on this computer
    const QString name = QStringLiteral("/home/анна/Документы/Моё КП.pdf");
    QTest::newRow("file URL") << QUrl::fromLocalFile(name) << name;
    QTest::newRow("file URL, encoded") << QUrl(QUrl::fromLocalFile(name).toEncoded()) << name;
    QTest::newRow("file URL with one slash") << QUrl(QStringLiteral("file:") + name) << name;
    QTest::newRow("file URL, localhost") << QUrl(QStringLiteral("file://localhost") + name) << name;
    QTest::newRow("file URL without the suffix") << QUrl::fromLocalFile(QStringLiteral("/tmp/КП")) << "/tmp/КП.pdf";
    QTest::newRow("relative file URL") << QUrl(QStringLiteral("file:КП.pdf")) << "/base/КП.pdf";
    // The Qt Quick dialog puts an edited name into a URL as it stands, without a scheme.
    QTest::newRow("bare path") << QUrl(name) << name;
    QTest::newRow("bare path without the suffix") << QUrl(QStringLiteral("/tmp/Smeta")) << "/tmp/Smeta.pdf";
    QTest::newRow("bare path with # and ?") << QUrl(QStringLiteral("/tmp/КП #2?.pdf")) << "/tmp/КП #2?.pdf";
    QTest::newRow("bare path with %") << QUrl(QStringLiteral("/tmp/100%.pdf")) << "/tmp/100%.pdf";
    QTest::newRow("relative name") << QUrl(QStringLiteral("КП")) << "/base/КП.pdf";
    QTest::newRow("relative name in a subfolder") << QUrl(QStringLiteral("a/../b/КП.PDF")) << "/base/b/КП.PDF";
    QTest::newRow("ends in a dot") << QUrl(QStringLiteral("/tmp/КП.")) << "/tmp/КП.pdf";
    QTest::newRow("other suffix") << QUrl(QStringLiteral("/tmp/Смета 1.5")) << "/tmp/Смета 1.5.pdf";
    QTest::newRow("another computer") << QUrl(QStringLiteral("file://server/share/КП.pdf")) << QString();
    QTest::newRow("web address") << QUrl(QStringLiteral("https://example.org/КП.pdf")) << QString();
    QTest::newRow("a folder") << QUrl::fromLocalFile(QStringLiteral("/tmp/")) << QString();
    QTest::newRow("empty") << QUrl() << QString();
}

void tst_PDFSaveHelper::destinationFromTheDialog()
{
    QFETCH(QUrl, chosen);
    QFETCH(QString, path);
    QCOMPARE(PDFSaveHelper::destinationPath(chosen, QStringLiteral("/base")).value_or(QString()), path);
}

void tst_PDFSaveHelper::failuresAreToldInRussianWithThePath_data()
{
    QTest::addColumn<QString>("destination"); // inside the test folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << "missing/КП.pdf"
                                    << "Не удалось сохранить файл: папка не найдена.";
    QTest::newRow("a folder in the way") << "folder.pdf"
                                         << "Не удалось сохранить файл: на этом месте уже есть папка с таким именем.";
    QTest::newRow("read-only folder") << "read-only/КП.pdf"
                                      << "Не удалось сохранить файл: нет доступа к папке.";
    QTest::newRow("name too long") << QString(
        300, QChar(u'я')) << "Не удалось сохранить файл: имя файла слишком длинное для этого диска. Сократите его.";
    QTest::newRow("through a file") << "source.pdf/КП.pdf"
                                    << "Не удалось сохранить файл: в пути к файлу вместо папки стоит файл.";
}

void tst_PDFSaveHelper::failuresAreToldInRussianWithThePath()
{
    QFETCH(QString, destination);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.pdf"));
    writeFile(source, "%PDF");
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.pdf")));
    const ReadOnlyFolder readOnly(dir.filePath(QStringLiteral("read-only")));
    QVERIFY(readOnly.isValid());
    const PDFSaveResult result = PDFSaveHelper::save(source, dir.filePath(destination));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, reason + QLatin1Char('\n') + FileErrorText::shownPath(dir.filePath(destination)));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("read-only/КП.pdf"))));
    // Nothing is left behind: no half-written copy, no temporary file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("source.pdf")});
}

void tst_PDFSaveHelper::reasonsNameTheSystemsError_data()
{
    QTest::addColumn<int>("errnum");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("folder");
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << "имя файла слишком длинное для этого диска. Сократите его."
                                  << "Имя слишком длинное для этого диска. Сократите его.";
    QTest::newRow("EACCES") << EACCES << "нет доступа к папке."
                            << "Нет прав создавать папки в этой папке.";
    QTest::newRow("EPERM") << EPERM << "нет доступа к папке."
                           << "Нет прав создавать папки в этой папке.";
    QTest::newRow("ENOTDIR") << ENOTDIR << "в пути к файлу вместо папки стоит файл."
                             << "Текущей папки больше нет. Выберите другую.";
    QTest::newRow("EROFS") << EROFS << "диск доступен только для чтения."
                           << "Диск доступен только для чтения.";
    QTest::newRow("ENOSPC") << ENOSPC << "на диске не хватает места."
                            << "На диске не хватает места.";
    QTest::newRow("EDQUOT") << EDQUOT << "исчерпана ваша квота на диске."
                            << "Исчерпана ваша квота на диске.";
    QTest::newRow("EEXIST") << EEXIST << "система отказала в записи (код ошибки 17)."
                            << "Здесь уже есть папка или файл с таким именем.";
    QTest::newRow("unknown") << EXDEV << "система отказала в записи (код ошибки 18)."
                             << "Не удалось создать папку (код ошибки 18).";
}

void tst_PDFSaveHelper::reasonsNameTheSystemsError()
{
    QFETCH(int, errnum);
    QFETCH(QString, save);
    QFETCH(QString, folder);
    QCOMPARE(FileErrorText::saveReason(errnum), save);
    QCOMPARE(FileErrorText::folderReason(errnum), folder);
}

void tst_PDFSaveHelper::longPathsAreCutInTheMiddle()
{
    const QString shortPath = QStringLiteral("/home/анна/Документы/КП.pdf");
    QCOMPARE(FileErrorText::shownPath(shortPath), shortPath);
    QCOMPARE(FileErrorText::shownPath(QStringLiteral("/tmp/КП\n2\t.pdf")), QStringLiteral("/tmp/КП?2?.pdf"));

    // A long name keeps its folder whole, its start and its suffix.
    const QString longName = QString(300, QChar(u'я')) + QStringLiteral(".pdf");
    QCOMPARE(FileErrorText::shownPath(QStringLiteral("/home/анна/") + longName),
             QStringLiteral("/home/анна/") + QString(29, QChar(u'я')) + QChar(0x2026) + QString(26, QChar(u'я'))
                 + QStringLiteral(".pdf"));

    // A deep folder keeps its start and its end, and the name whole.
    QString deep;
    for (int i = 0; i < 40; ++i)
        deep += QStringLiteral("/папка");
    const QString shown = FileErrorText::shownPath(deep + QStringLiteral("/КП.pdf"));
    QCOMPARE(shown.size(), FileErrorText::maxFolderCharacters + 7);
    QVERIFY(shown.startsWith(QStringLiteral("/папка/папка")));
    QVERIFY(shown.endsWith(QStringLiteral("папка/папка/КП.pdf")));
    QVERIFY(shown.contains(QChar(0x2026)));
}

void tst_PDFSaveHelper::startFolderIsDocumentsOnlyWhenItExists()
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    const QString noDocuments = PDFSaveHelper::startFolder();
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents")));
    const QString withDocuments = PDFSaveHelper::startFolder();
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    QCOMPARE(noDocuments, home.path());
    QCOMPARE(withDocuments, home.filePath(QStringLiteral("Documents")));
}

void tst_PDFSaveHelper::writeTempPDFRemovesRendersOfEarlierDays()
{
    QTemporaryDir base;
    const std::optional<QString> old =
        CommercialProposalPDF::writeTempPDF("old", QStringLiteral("Старый"), base.path());
    const std::optional<QString> recent =
        CommercialProposalPDF::writeTempPDF("recent", QStringLiteral("Новый"), base.path());
    QVERIFY(old && recent);
    const QString privateFolder = QFileInfo(QFileInfo(*old).path()).path();
    const QString other = privateFolder + QStringLiteral("/notes.txt");
    const QString earlierVersion = privateFolder + QStringLiteral("/KP-Старый-a1b2c3.pdf");
    writeFile(other, "not a render");
    writeFile(earlierVersion, "an earlier version's render");
    for (const QString &path : {QFileInfo(*old).path(), other, earlierVersion})
        QVERIFY(ageByTwoDays(path));

    // At start, before any render.
    ProposalTempFolder::removeStaleRenders(base.path());
    QVERIFY(!QFileInfo::exists(QFileInfo(*old).path()));
    QVERIFY(!QFile::exists(earlierVersion));
    QCOMPARE(readFile(*recent), QByteArray("recent"));
    QVERIFY(QFile::exists(other));

    // And before each render.
    QVERIFY(ageByTwoDays(QFileInfo(*recent).path()));
    const std::optional<QString> next =
        CommercialProposalPDF::writeTempPDF("next", QStringLiteral("Новый"), base.path());
    QVERIFY(next);
    QVERIFY(!QFile::exists(*recent));
    QCOMPARE(readFile(*next), QByteArray("next"));
}

void tst_PDFSaveHelper::removeRenderTakesItsFolderOnly()
{
    QTemporaryDir base;
    const std::optional<QString> render = CommercialProposalPDF::writeTempPDF("x", QStringLiteral("Сайт"), base.path());
    QVERIFY(render);
    ProposalTempFolder::removeRender(*render);
    QVERIFY(!QFileInfo::exists(QFileInfo(*render).path()));
    QVERIFY(QFileInfo(QFileInfo(QFileInfo(*render).path()).path()).isDir());

    // A saved copy elsewhere is no render.
    const QString saved = base.filePath(QStringLiteral("render-abcdef/KP-Сайт.pdf"));
    QVERIFY(QDir().mkpath(QFileInfo(saved).path()));
    writeFile(saved, "saved");
    ProposalTempFolder::removeRender(saved);
    QCOMPARE(readFile(saved), QByteArray("saved"));
}

QTEST_GUILESS_MAIN(tst_PDFSaveHelper)
#include "tst_PDFSaveHelper.moc"
