#include "CategoryCatalog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<QString> &overridePath()
{
    static std::optional<QString> path;
    return path;
}

// The first category with this identifier, or none; unreadable catalogs give none.
std::optional<QJsonObject> firstCategory(const QString &categoryId)
{
    QFile file(overridePath().value_or(QStringLiteral(":/estimate-catalog.json")));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonValue categories = document.object().value(QLatin1String("categories"));
    if (!categories.isArray())
        return std::nullopt;
    for (const QJsonValue &category : categories.toArray()) {
        const QJsonObject object = category.toObject();
        if (object.value(QLatin1String("id")) == categoryId)
            return object;
    }
    return std::nullopt;
}

QString legacyLabel(const QString &categoryId)
{
    static const QHash<QString, QString> labels = {
        {QStringLiteral("backend"), QStringLiteral("Backend")},
        {QStringLiteral("frontend"), QStringLiteral("Frontend")},
        {QStringLiteral("mobile"), QStringLiteral("Мобильная разработка")},
        {QStringLiteral("design"), QStringLiteral("Дизайн")},
        {QStringLiteral("devops"), QStringLiteral("DevOps")},
        {QStringLiteral("management"), QStringLiteral("Менеджмент")},
        {QStringLiteral("qa"), QStringLiteral("QA")},
        {QStringLiteral("analytics"), QStringLiteral("Аналитика")},
    };
    return labels.value(categoryId, categoryId);
}

} // namespace

std::optional<QString> CategoryCatalog::colorText(const QString &categoryId)
{
    const std::optional<QJsonObject> category = firstCategory(categoryId);
    if (!category)
        return std::nullopt;
    const QJsonValue color = category->value(QLatin1String("color"));
    if (!color.isString())
        return std::nullopt;
    return color.toString();
}

QString CategoryCatalog::name(const QString &categoryId)
{
    const std::optional<QJsonObject> category = firstCategory(categoryId);
    if (category && category->value(QLatin1String("name")).isString())
        return category->value(QLatin1String("name")).toString();
    return legacyLabel(categoryId);
}

CategoryCatalog::ScopedOverride::ScopedOverride(const QString &path)
    : m_previous(overridePath())
{
    overridePath() = path;
}

CategoryCatalog::ScopedOverride::~ScopedOverride()
{
    overridePath() = m_previous;
}
