#include "AppTheme.h"
#include "ColorContrast.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class tst_ColorContrast : public QObject
{
    Q_OBJECT

    static QList<QColor> surfaces(bool dark)
    {
        QList<QColor> result;
        for (const AppTheme::Role role :
             {AppTheme::Role::Background, AppTheme::Role::CardBackground, AppTheme::Role::FieldBackground})
            result << AppTheme::color(role).resolved(dark);
        return result;
    }

    // The least ratio of `text` on each surface of the appearance, under a fill of `fill` at `opacity`.
    static qreal least(const QColor &text, const QColor &fill, qreal opacity, bool dark)
    {
        qreal result = 21;
        for (const QColor &surface : surfaces(dark)) {
            const QColor under = ColorContrast::over(AppTheme::withOpacity(fill, opacity), surface);
            result = std::min(result, ColorContrast::ratio(ColorContrast::over(text, under), under));
        }
        return result;
    }

private Q_SLOTS:
    void ratio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<qreal>("expected");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("either order") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("the same colour") << QColor(0x22, 0x8B, 0x57) << QColor(0x22, 0x8B, 0x57) << 1.0;
        // The lightest grey that reads on white.
        QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
        QTest::newRow("#999 on white") << QColor(0x99, 0x99, 0x99) << QColor(Qt::white) << 2.85;
    }
    void ratio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(qreal, expected);
        QVERIFY2(qAbs(ColorContrast::ratio(a, b) - expected) < 0.01,
                 qPrintable(QString::number(ColorContrast::ratio(a, b))));
    }

    // A colour that reads stays; one that does not becomes the nearest shade of its hue that does,
    // darker on light backgrounds and lighter on dark ones.
    void readableOn_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("kept");
        QTest::newRow("reads already") << QColor(0x1D, 0x1D, 0x1F) << QColor(0xF5, 0xF5, 0xF7) << true;
        QTest::newRow("green on light") << QColor(0x22, 0x8B, 0x57) << QColor(0xF5, 0xF5, 0xF7) << false;
        QTest::newRow("red on dark") << QColor(0xD2, 0x38, 0x48) << QColor(0x26, 0x26, 0x2E) << false;
        QTest::newRow("yellow on white") << QColor(0xEA, 0xB3, 0x08) << QColor(Qt::white) << false;
        QTest::newRow("faded grey on dark") << QColor(230, 230, 234, 60) << QColor(0x17, 0x17, 0x1C) << false;
        QTest::newRow("grey on its own tint") << QColor(0x64, 0x74, 0x8B) << QColor(0xE6, 0xE8, 0xEC) << false;
    }
    void readableOn()
    {
        QFETCH(QColor, color);
        QFETCH(QColor, background);
        QFETCH(bool, kept);
        const QColor shade = ColorContrast::readableOn(color, {background});
        QVERIFY2(ColorContrast::ratio(ColorContrast::over(shade, background), background) >= ColorContrast::TextRatio,
                 qPrintable(shade.name()));
        if (kept) {
            QCOMPARE(shade, color);
            return;
        }
        QCOMPARE(shade.alpha(), 255);
        const QColor opaque = color.alpha() == 255 ? color : ColorContrast::over(color, background);
        if (opaque.hslSaturationF() > 0.05) {
            QVERIFY2(qAbs(shade.hslHueF() - opaque.hslHueF()) < 0.02, qPrintable(shade.name()));
        }
        const bool darker = ColorContrast::luminance(background) > 0.18;
        QCOMPARE(shade.lightnessF() < opaque.lightnessF(), darker);
        // The nearest: a step back toward the colour no longer reads.
        QColor back =
            QColor::fromHslF(shade.hslHueF(), shade.hslSaturationF(), shade.lightnessF() + (darker ? 0.01f : -0.01f));
        QVERIFY2(ColorContrast::ratio(back, background) < ColorContrast::TextRatio, qPrintable(back.name()));
    }

    // The theme's text colours read on the screen, the cards and the fields; error and success
    // also on a faint fill of themselves (an error box, a banner, a badge).
    void themeTextsRead_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<qreal>("ownFill");
        QTest::addColumn<bool>("dark");
        const std::pair<const char *, AppTheme::Role> roles[] = {
            {"deepBlack", AppTheme::Role::DeepBlack}, {"textSecondary", AppTheme::Role::TextSecondary},
            {"primary", AppTheme::Role::Primary},     {"error", AppTheme::Role::Error},
            {"success", AppTheme::Role::Success},     {"warning", AppTheme::Role::Warning},
        };
        for (const bool dark : {false, true}) {
            for (const auto &[name, role] : roles) {
                const bool signal = role == AppTheme::Role::Error || role == AppTheme::Role::Success;
                QTest::addRow("%s %s", name, dark ? "dark" : "light") << int(role) << (signal ? 0.12 : 0.0) << dark;
            }
        }
    }
    void themeTextsRead()
    {
        QFETCH(int, role);
        QFETCH(qreal, ownFill);
        QFETCH(bool, dark);
        const QColor color = AppTheme::color(AppTheme::Role(role)).resolved(dark);
        const qreal ratio = least(color, color, ownFill, dark);
        QVERIFY2(ratio >= ColorContrast::TextRatio, qPrintable(QString::number(ratio)));
    }

    // Every colour a badge can take, the catalog's included, gives a text that reads on its
    // capsule in both appearances.
    void badgeTextsRead()
    {
        QList<QColor> tints;
        for (const AppTheme::Role role : {AppTheme::Role::Accent, AppTheme::Role::TextSecondary,
                                          AppTheme::Role::Success, AppTheme::Role::Error, AppTheme::Role::Warning})
            tints << AppTheme::color(role).light << AppTheme::color(role).dark;
        tints << QColor::fromRgbF(0.15f, 0.11f, 0.42f) << QColor::fromRgbF(0.23f, 0.51f, 0.96f)
              << QColor::fromRgbF(0.91f, 0.28f, 0.42f) << QColor::fromRgbF(0.96f, 0.62f, 0.15f)
              << QColor::fromRgbF(0.35f, 0.55f, 0.95f);
        QFile file(QStringLiteral(":/estimate-catalog.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray categories =
            QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String("categories")).toArray();
        QVERIFY(!categories.isEmpty());
        for (const QJsonValue &category : categories)
            tints << QColor(category.toObject().value(QLatin1String("color")).toString());
        for (const bool dark : {false, true}) {
            for (const QColor &tint : std::as_const(tints)) {
                if (!tint.isValid())
                    continue;
                for (const qreal fill : {0.12, 0.14, 0.2256}) {
                    const QColor text = AppTheme::readableText(tint, fill, dark);
                    const qreal ratio = least(text, tint, fill, dark);
                    QVERIFY2(ratio >= ColorContrast::TextRatio,
                             qPrintable(QStringLiteral("%1 at %2 in %3: %4")
                                            .arg(tint.name())
                                            .arg(fill)
                                            .arg(dark ? "dark" : "light")
                                            .arg(ratio)));
                }
            }
        }
        // A colour that reads keeps its own value.
        const QColor strong = AppTheme::color(AppTheme::Role::DeepBlack).light;
        QCOMPARE(AppTheme::readableText(strong, 0.12, false), strong);
    }
};

QTEST_GUILESS_MAIN(tst_ColorContrast)
#include "tst_ColorContrast.moc"
