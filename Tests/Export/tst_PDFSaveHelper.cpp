#include "Export/CommercialProposalPDF.h"
#include "Export/PDFSaveHelper.h"
#include "Export/ProposalTempFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    void writeTempPDFRemovesRendersOfEarlierDays();
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
    const QRegularExpression named(QStringLiteral("/tessmark-\\d+/KP-Сайт-[^/]{6}\\.pdf$"));
    for (const QString &path : {*first, *second, *again}) {
        QVERIFY2(named.match(path).hasMatch(), qPrintable(path));
        QCOMPARE(int(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther)), 0);
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

void tst_PDFSaveHelper::writeTempPDFRemovesRendersOfEarlierDays()
{
    QTemporaryDir base;
    const std::optional<QString> old =
        CommercialProposalPDF::writeTempPDF("old", QStringLiteral("Старый"), base.path());
    const std::optional<QString> recent =
        CommercialProposalPDF::writeTempPDF("recent", QStringLiteral("Новый"), base.path());
    QVERIFY(old && recent);
    const QString other = QFileInfo(*old).path() + QStringLiteral("/notes.txt");
    writeFile(other, "not a render");
    for (const QString &path : {*old, other}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-2), QFileDevice::FileModificationTime));
    }
    const std::optional<QString> next =
        CommercialProposalPDF::writeTempPDF("next", QStringLiteral("Новый"), base.path());
    QVERIFY(next);
    QVERIFY(!QFile::exists(*old));
    QCOMPARE(readFile(*recent), QByteArray("recent"));
    QCOMPARE(readFile(*next), QByteArray("next"));
    QVERIFY(QFile::exists(other));
}

QTEST_GUILESS_MAIN(tst_PDFSaveHelper)
#include "tst_PDFSaveHelper.moc"
