#include "IconMap.h"
#include "Typography.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QTest>

class tst_IconMap : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Typography::registerFonts(); }

    // Every symbol name the screens use.
    void everySymbolHasAGlyphInTheBundledFont_data()
    {
        QTest::addColumn<QString>("symbol");
        const char *symbols[] = {
            "arrow.clockwise", "arrow.triangle.branch", "arrow.turn.down.right", "banknote", "building.columns",
            "chart.bar", "chart.bar.fill", "chart.line.uptrend.xyaxis", "checkmark", "checkmark.circle.fill",
            "checkmark.seal.fill", "chevron.down", "chevron.down.circle.fill", "chevron.right.circle.fill",
            "circle.lefthalf.filled", "clock", "clock.fill", "creditcard", "creditcard.fill", "doc.fill",
            "doc.on.doc", "doc.richtext.fill", "doc.text", "doc.text.fill", "door.left.hand.open",
            "ellipsis.circle", "envelope.badge.fill", "envelope.fill", "exclamationmark.circle.fill",
            "exclamationmark.triangle.fill", "eye.fill", "eye.slash.fill", "folder", "folder.badge.questionmark",
            "folder.fill", "gearshape", "icloud.slash", "info.circle.fill", "internaldrive", "lightbulb.fill",
            "list.bullet", "list.bullet.rectangle", "lock.fill", "map.fill", "moon.fill", "note.text",
            "paintbrush.fill", "person.crop.circle", "person.crop.circle.badge.plus", "person.crop.circle.fill",
            "person.fill", "plus", "plus.circle.fill", "plus.rectangle.on.rectangle",
            "rectangle.portrait.and.arrow.right", "rublesign.circle", "rublesign.circle.fill", "sparkles",
            "square.and.arrow.down", "square.and.arrow.up", "sun.max.fill", "tag", "text.alignleft",
            "text.quote", "trash", "wifi.exclamationmark",
        };
        for (const char *symbol : symbols)
            QTest::newRow(symbol) << QString::fromLatin1(symbol);
    }
    void everySymbolHasAGlyphInTheBundledFont()
    {
        QFETCH(QString, symbol);
        const QString glyph = IconMap::glyph(symbol);
        QCOMPARE(glyph.toUcs4().size(), 1);
        const QRawFont font = QRawFont::fromFont(QFont(IconMap::fontFamily(), 24));
        QCOMPARE(font.familyName(), IconMap::fontFamily());
        QVERIFY(font.supportsCharacter(glyph.toUcs4().first()));
    }

    void unknownNamesDrawNothing()
    {
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
