// The names under the bar chart's groups, laid out line by line for a group's width: broken only
// between words, a word too wide cut with "…", words left over marked on the last line.
#include "Features/Analytics/AnalyticsBarNames.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>

class tst_AnalyticsBarNames : public QObject
{
    Q_OBJECT

    // The chart's font for its names.
    QFont m_font;

    qreal widest(const QStringList &texts) const
    {
        const QFontMetricsF metrics(m_font);
        qreal most = 0;
        for (const QString &text : texts)
            most = std::max(most, metrics.horizontalAdvance(text));
        return most;
    }

private Q_SLOTS:
    void initTestCase() { m_font.setPixelSize(11); }

    // The width is that of the widest of `room`: what must stand on one line.
    void lines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("room");
        QTest::addColumn<int>("maximumLineCount");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("whole") << "Мобильное приложение" << QStringList{"Мобильное приложение"} << 3
                               << QStringList{"Мобильное приложение"};
        QTest::newRow("a word a line") << "Мобильное приложение" << QStringList{"Мобильное", "приложение"} << 3
                                       << QStringList{"Мобильное", "приложение"};
        QTest::newRow("after a hyphen") << "Интернет-магазин керамики"
                                        << QStringList{"Интернет-", "магазин", "керамики"} << 3
                                        << QStringList{"Интернет-", "магазин", "керамики"};
        QTest::newRow("words together") << "CRM для клиники" << QStringList{"CRM для", "клиники"} << 3
                                        << QStringList{"CRM для", "клиники"};
        QTest::newRow("words left over") << "Лендинг студии дизайна и разработки" << QStringList{"Лендинг студии"} << 2
                                         << QStringList{"Лендинг студии", "дизайна и…"};
        QTest::newRow("blanks and line breaks")
            << "Сайт\n  пекарни" << QStringList{"Сайт пекарни"} << 3 << QStringList{"Сайт пекарни"};
        QTest::newRow("no width yet") << "Мобильное приложение" << QStringList{} << 3
                                      << QStringList{"Мобильное приложение"};
    }
    void lines()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, room);
        QFETCH(int, maximumLineCount);
        QFETCH(QStringList, shown);
        const qreal width = widest(room);
        QCOMPARE(AnalyticsBarNames::lines(name, QFontMetricsF(m_font), width, maximumLineCount), shown);
    }

    // A word wider than the line stands alone, cut to the width; the words after it go on.
    void wordTooWide()
    {
        const QFontMetricsF metrics(m_font);
        const QString word = QStringLiteral("Электрификацияпредприятия");
        const qreal width = widest({QStringLiteral("Электрифика")});
        const QStringList shown = AnalyticsBarNames::lines(word + QStringLiteral(" сайт"), metrics, width, 3);
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.first().endsWith(QChar(0x2026)) && word.startsWith(shown.first().chopped(1)),
                 qPrintable(shown.first()));
        QVERIFY(metrics.horizontalAdvance(shown.first()) <= width);
        QCOMPARE(shown.last(), QStringLiteral("сайт"));
        QVERIFY(!AnalyticsBarNames::wordsFit(word, metrics, width));
        QVERIFY(AnalyticsBarNames::wordsFit(QStringLiteral("Интернет-магазин"), metrics,
                                            widest({QStringLiteral("Интернет-"), QStringLiteral("магазин")})));
    }

    // The names laid out together: their lines, and whether every word fits, once per change.
    void namesTogether()
    {
        AnalyticsBarNames names;
        QSignalSpy laid(&names, &AnalyticsBarNames::textsChanged);
        names.setFont(m_font);
        names.setMaximumLineCount(3);
        names.setNames({QStringLiteral("Мобильное приложение"), QStringLiteral("Сайт")});
        QVERIFY(!names.fits()); // no width yet
        names.setWidth(widest({QStringLiteral("Мобильное"), QStringLiteral("приложение")}));
        QCOMPARE(names.texts(), (QStringList{QStringLiteral("Мобильное\nприложение"), QStringLiteral("Сайт")}));
        QVERIFY(names.fits());
        const qsizetype changes = laid.size();
        names.setWidth(names.width());
        QCOMPARE(laid.size(), changes);
        names.setWidth(widest({QStringLiteral("Мобиль")}));
        QVERIFY(!names.fits());
    }
};

QTEST_MAIN(tst_AnalyticsBarNames)
#include "tst_AnalyticsBarNames.moc"
