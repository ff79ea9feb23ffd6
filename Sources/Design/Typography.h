#pragma once

#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The type scale, set in the bundled interface font (Inter, which covers Cyrillic and ₽).
// `Typography.font(Typography.Subheadline, Font.Medium)` in a view.
class Typography : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QString family READ family CONSTANT)

public:
    enum TextStyle { Title2, Title3, Headline, Body, Subheadline, Footnote, Caption, Caption2 };
    Q_ENUM(TextStyle)

    explicit Typography(QObject *parent = nullptr);

    // Registers the bundled fonts once; the application also makes the body style its default.
    static void registerFonts();
    static void installApplicationFont();

    static QString family();
    static int pixelSize(TextStyle style);
    static QFont::Weight defaultWeight(TextStyle style);

    // `weight` 0 keeps the style's own weight.
    Q_INVOKABLE static QFont font(TextStyle style, int weight = 0);
    // A font of an explicit size, for the few large glyphs the screens draw.
    Q_INVOKABLE static QFont sized(qreal pixelSize, int weight = 0);
};
