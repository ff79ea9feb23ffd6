#pragma once

#include "IconGlyph.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The one place that turns the symbol names the screens use ("doc.text", "chevron.down", ...)
// into icons of the bundled icon font (Material Icons). Read from icon-map.json.
class IconMap : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Icons)
    QML_SINGLETON

    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)

public:
    explicit IconMap(QObject *parent = nullptr);

    static const QHash<QString, IconGlyph> &table();
    static std::optional<IconGlyph> lookup(const QString &symbol);
    static QString fontFamily();

    // The character to draw for `symbol`; "" for a name the map does not know.
    Q_INVOKABLE static QString glyph(const QString &symbol);
    Q_INVOKABLE static qreal rotation(const QString &symbol);
};
