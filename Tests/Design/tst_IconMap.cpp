#include "IconMap.h"
#include "Typography.h"

#include <QGuiApplication>
#include <QRawFont>
#include <QTest>

class tst_IconMap : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Typography::registerFonts(); }

    void everySymbolHasAGlyphInTheBundledFont()
    {
        const QRawFont font = QRawFont::fromFont(QFont(IconMap::fontFamily(), 24));
        QCOMPARE(font.familyName(), IconMap::fontFamily());
        QVERIFY(IconMap::table().size() >= 60);
        for (auto it = IconMap::table().cbegin(); it != IconMap::table().cend(); ++it) {
            const QList<uint> glyph = IconMap::glyph(it.key()).toUcs4();
            QVERIFY2(glyph.size() == 1 && font.supportsCharacter(glyph.first()), qPrintable(it.key()));
        }
        QTest::ignoreMessage(QtWarningMsg, "no icon for the symbol \"no.such.symbol\"");
        QCOMPARE(IconMap::glyph(QStringLiteral("no.such.symbol")), QString());
        QCOMPARE(IconMap::glyph(QString()), QString());
    }

    void interfaceFontCoversCyrillicAndTheRoubleSign()
    {
        for (int weight : {QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold}) {
            const QRawFont font = QRawFont::fromFont(Typography::font(Typography::Body, weight));
            QCOMPARE(font.familyName(), Typography::family());
            QCOMPARE(font.weight(), weight);
            for (char32_t c : U"Смета ₽ Ёё")
                if (c)
                    QVERIFY2(font.supportsCharacter(c), qPrintable(QString::number(uint(c), 16)));
        }
    }
};

QTEST_MAIN(tst_IconMap)
#include "tst_IconMap.moc"
