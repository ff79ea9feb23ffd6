#include "Typography.h"

#include <QFontDatabase>
#include <QGuiApplication>

Typography::Typography(QObject *parent)
    : QObject(parent)
{
    registerFonts();
}

void Typography::registerFonts()
{
    static const bool registered = [] {
        const QString fonts[] = {
            QStringLiteral(":/tessmark/design/fonts/Inter-Regular.otf"),
            QStringLiteral(":/tessmark/design/fonts/Inter-Medium.otf"),
            QStringLiteral(":/tessmark/design/fonts/Inter-SemiBold.otf"),
            QStringLiteral(":/tessmark/design/fonts/Inter-Bold.otf"),
            QStringLiteral(":/tessmark/design/fonts/TessmarkIcons.ttf"),
        };
        for (const QString &path : fonts) {
            if (QFontDatabase::addApplicationFont(path) < 0)
                qWarning() << "cannot load the bundled font" << path;
        }
        return true;
    }();
    Q_UNUSED(registered)
}

void Typography::installApplicationFont()
{
    registerFonts();
    QGuiApplication::setFont(font(Body));
}

QString Typography::family()
{
    return QStringLiteral("Inter");
}

int Typography::pixelSize(TextStyle style)
{
    switch (style) {
    case Title2:
        return 20;
    case Title3:
        return 17;
    case Headline:
    case Body:
        return 14;
    case Subheadline:
        return 13;
    case Footnote:
    case Caption:
        return 12;
    case Caption2:
        return 11;
    }
    return 14;
}

QFont::Weight Typography::defaultWeight(TextStyle style)
{
    return style == Headline ? QFont::DemiBold : QFont::Normal;
}

QFont Typography::font(TextStyle style, int weight)
{
    return sized(pixelSize(style), weight > 0 ? weight : defaultWeight(style));
}

QFont Typography::sized(qreal pixelSize, int weight)
{
    QFont f(family());
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(weight > 0 ? QFont::Weight(weight) : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}
