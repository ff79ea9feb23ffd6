#include "Export/PDFSaveHelper.h"
#include "Export/ProposalFileName.h"
#include "Utils/Text.h"

#include <QTest>

class tst_ProposalFileName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void graphemes_data();
    void graphemes();
    void longNamesAreCutByWholeCharacters_data();
    void longNamesAreCutByWholeCharacters();
};

void tst_ProposalFileName::names_data()
{
    QTest::addColumn<QString>("projectName");
    QTest::addColumn<QString>("temporary");
    QTest::addColumn<QString>("suggested");

    const QString sixty = QString(60, QLatin1Char('a'));
    const QString forty = QString(40, QLatin1Char('a'));
    QTest::newRow("empty") << QString() << "KP-estimate.pdf"
                           << "KP-estimate.pdf";
    QTest::newRow("blanks") << "   \t "
                            << "KP-estimate.pdf"
                            << "KP-estimate.pdf";
    QTest::newRow("punctuation") << "!?/.,;"
                                 << "KP-estimate.pdf"
                                 << "KP-estimate.pdf";
    QTest::newRow("slash leaves two blanks") << "Смета / этап 2"
                                             << "KP-Смета--этап-2.pdf"
                                             << "KP-Смета--этап-2.pdf";
    QTest::newRow("underscore") << "A_B"
                                << "KP-AB.pdf"
                                << "KP-A_B.pdf";
    QTest::newRow("only underscore") << "_"
                                     << "KP-estimate.pdf"
                                     << "KP-_.pdf";
    QTest::newRow("tab dropped") << "a\tb"
                                 << "KP-ab.pdf"
                                 << "KP-ab.pdf";
    QTest::newRow("trimmed") << "  Сайт  "
                             << "KP-Сайт.pdf"
                             << "KP-Сайт.pdf";
    QTest::newRow("60 letters") << sixty << "KP-" + forty + ".pdf"
                                << "KP-" + forty + ".pdf";
    QTest::newRow("blanks count") << "ab cd" + sixty << "KP-ab-cd" + QString(35, QLatin1Char('a')) + ".pdf"
                                  << "KP-ab-cd" + QString(35, QLatin1Char('a')) + ".pdf";
    QTest::newRow("digits and hyphen") << "v-2.0"
                                       << "KP-v-20.pdf"
                                       << "KP-v-20.pdf";
    QTest::newRow("no-break space dropped") << QString::fromUtf8("a\u00a0b") << "KP-ab.pdf"
                                            << "KP-ab.pdf";
    QTest::newRow("NFD e kept whole") << QString::fromUtf8("Cafe\u0301") << QString::fromUtf8("KP-Cafe\u0301.pdf")
                                      << QString::fromUtf8("KP-Cafe\u0301.pdf");
    QTest::newRow("leading combining mark dropped") << QString::fromUtf8("\u0301x") << "KP-x.pdf"
                                                    << "KP-x.pdf";
    QTest::newRow("emoji dropped") << QString::fromUtf8("a\U0001F600b") << "KP-ab.pdf"
                                   << "KP-ab.pdf";
    QTest::newRow("astral letter kept") << QString::fromUtf8("\U0001D400") << QString::fromUtf8("KP-\U0001D400.pdf")
                                        << QString::fromUtf8("KP-\U0001D400.pdf");
}

void tst_ProposalFileName::names()
{
    QFETCH(QString, projectName);
    QFETCH(QString, temporary);
    QFETCH(QString, suggested);
    QCOMPARE(ProposalFileName::temporaryName(projectName), temporary);
    QCOMPARE(PDFSaveHelper::suggestedFilename(projectName), suggested);
}

void tst_ProposalFileName::graphemes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("clusters");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("plain") << "ab" << QStringList{"a", "b"};
    QTest::newRow("combining") << QString::fromUtf8("e\u0301x") << QStringList{QString::fromUtf8("e\u0301"), "x"};
    QTest::newRow("surrogate pair") << QString::fromUtf8("\U0001F600") << QStringList{QString::fromUtf8("\U0001F600")};
    QTest::newRow("crlf") << "\r\n" << QStringList{"\r\n"};
}

void tst_ProposalFileName::graphemes()
{
    QFETCH(QString, text);
    QFETCH(QStringList, clusters);
    QCOMPARE(Text::graphemes(text), clusters);
}

void tst_ProposalFileName::longNamesAreCutByWholeCharacters_data()
{
    QTest::addColumn<int>("marks");
    // 40 letters with marks each: far over 255 bytes though only 40 characters.
    QTest::newRow("one mark") << 1;
    QTest::newRow("five marks") << 5;
    QTest::newRow("a hundred marks") << 100;
}

void tst_ProposalFileName::longNamesAreCutByWholeCharacters()
{
    QFETCH(int, marks);
    QString cluster = QStringLiteral("ж");
    for (int i = 0; i < marks; ++i)
        cluster += QChar(0x0301);
    QString name;
    for (int i = 0; i < 50; ++i)
        name += cluster;

    const qsizetype clusterBytes = cluster.toUtf8().size();
    for (const QString &fileName : {PDFSaveHelper::suggestedFilename(name), ProposalFileName::temporaryName(name)}) {
        const qsizetype fitting = std::min<qsizetype>(40, (255 - 7) / clusterBytes);
        QVERIFY2(fileName.toUtf8().size() <= 255, qPrintable(QString::number(fileName.toUtf8().size())));
        const QString expected = fitting == 0 ? QStringLiteral("estimate") : cluster.repeated(fitting);
        QCOMPARE(fileName, "KP-" + expected + ".pdf");
    }
}

QTEST_GUILESS_MAIN(tst_ProposalFileName)
#include "tst_ProposalFileName.moc"
