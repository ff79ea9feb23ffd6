#include "IconMap.h"

#include "Typography.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

IconMap::IconMap(QObject *parent)
    : QObject(parent)
{
    Typography::registerFonts();
}

const QHash<QString, IconGlyph> &IconMap::table()
{
    static const QHash<QString, IconGlyph> glyphs = [] {
        QHash<QString, IconGlyph> result;
        QFile file(QStringLiteral(":/tessmark/design/icon-map.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            qWarning() << "icon map missing from the resources";
            return result;
        }
        const QJsonObject map = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = map.begin(); it != map.end(); ++it) {
            const QJsonObject entry = it.value().toObject();
            bool ok = false;
            const uint codepoint = entry.value(QLatin1String("codepoint")).toString().toUInt(&ok, 16);
            if (!ok)
                continue;
            result.insert(it.key(),
                          IconGlyph{entry.value(QLatin1String("icon")).toString(), char32_t(codepoint),
                                    entry.value(QLatin1String("rotation")).toDouble()});
        }
        return result;
    }();
    return glyphs;
}

std::optional<IconGlyph> IconMap::lookup(const QString &symbol)
{
    const auto it = table().constFind(symbol);
    if (it == table().cend())
        return std::nullopt;
    return *it;
}

QString IconMap::fontFamily()
{
    return QStringLiteral("Material Icons");
}

QString IconMap::glyph(const QString &symbol)
{
    const std::optional<IconGlyph> icon = lookup(symbol);
    if (!icon) {
        if (!symbol.isEmpty())
            qWarning() << "no icon for the symbol" << symbol;
        return {};
    }
    const char32_t codepoint = icon->codepoint;
    return QString::fromUcs4(&codepoint, 1);
}

qreal IconMap::rotation(const QString &symbol)
{
    const std::optional<IconGlyph> icon = lookup(symbol);
    return icon ? icon->rotation : 0;
}
