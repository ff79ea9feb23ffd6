#include "HexColor.h"

#include <QTest>

class tst_HexColor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<QColor>("color");
        const QColor c = QColor::fromRgb(0x1A, 0x2B, 0x3C);
        QTest::newRow("upper case") << "1A2B3C" << true << c;
        QTest::newRow("lower case") << "1a2b3c" << true << c;
        QTest::newRow("with hash") << "#1a2B3c" << true << c;
        QTest::newRow("blanks and line ends around") << " \t#1A2B3C\n\r " << true << c;
        QTest::newRow("no-break space around") << QStringLiteral("\u00A01A2B3C\u00A0") << true << c;
        QTest::newRow("white") << "#ffffff" << true << QColor(Qt::white);
        QTest::newRow("three digits") << "#abc" << false << QColor();
        QTest::newRow("eight digits") << "#1A2B3C4D" << false << QColor();
        QTest::newRow("two hashes") << "##1A2B3C" << false << QColor();
        QTest::newRow("letter beyond f") << "1A2B3G" << false << QColor();
        QTest::newRow("empty") << "" << false << QColor();
        QTest::newRow("colour name") << "red" << false << QColor();
        QTest::newRow("0x prefix") << "0x1A2B" << false << QColor();
        QTest::newRow("inner blank") << "1A 2B3C" << false << QColor();
        QTest::newRow("fullwidth digits") << QStringLiteral("\uFF11A2B3C") << false << QColor();
        QTest::newRow("hash after blank kept apart") << "# 1A2B3C" << false << QColor();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, reads);
        QFETCH(QColor, color);
        const std::optional<QColor> parsed = HexColor::parse(text);
        QCOMPARE(parsed.has_value(), reads);
        if (reads) {
            QCOMPARE(parsed->rgba(), color.rgba());
            QCOMPARE(parsed->alpha(), 255);
        }
    }
};

QTEST_APPLESS_MAIN(tst_HexColor)
#include "tst_HexColor.moc"
