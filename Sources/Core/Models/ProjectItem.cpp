#include "ProjectItem.h"

#include "Models/EstimateTemplateItem.h"
#include "Utils/Hashing.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonStreamWriter.h"
#include "Utils/JsonWriter.h"
#include "Utils/NumberText.h"
#include "Utils/Text.h"

QString ProjectItem::identity() const
{
    return title + QLatin1Char('-') + category + QLatin1Char('-') + NumberText::shortest(hours);
}

ProjectItem ProjectItem::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    ProjectItem item;
    item.title = r.requiredString(QStringLiteral("title"));
    item.description = r.optionalString(QStringLiteral("description"));
    item.category = r.requiredString(QStringLiteral("category"));
    item.hours = r.requiredDouble(QStringLiteral("hours"));
    item.rate = r.requiredDouble(QStringLiteral("rate"));
    item.isLocked = r.requiredBool(QStringLiteral("isLocked"));
    item.done = r.optionalBool(QStringLiteral("done"));
    return item;
}

QJsonObject ProjectItem::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("title"), title)
        .set(QStringLiteral("description"), description)
        .set(QStringLiteral("category"), category)
        .set(QStringLiteral("hours"), hours)
        .set(QStringLiteral("rate"), rate)
        .set(QStringLiteral("isLocked"), isLocked)
        .set(QStringLiteral("done"), done);
    return w.object();
}

void ProjectItem::appendJson(QByteArray &out, const JsonPath &path) const
{
    // Keys in sorted order, as QJsonObject keeps them.
    JsonStreamWriter(out, path)
        .set(QLatin1StringView("category"), category)
        .set(QLatin1StringView("description"), description)
        .set(QLatin1StringView("done"), done)
        .set(QLatin1StringView("hours"), hours)
        .set(QLatin1StringView("isLocked"), isLocked)
        .set(QLatin1StringView("rate"), rate)
        .set(QLatin1StringView("title"), title)
        .finish();
}

size_t qHash(const ProjectItem &item, size_t seed)
{
    return Hashing::combine(seed, item.title, item.description, item.category, item.hours, item.rate, item.isLocked,
                            item.done);
}

ProjectItem ProjectItem::fromTemplateItem(const EstimateTemplateItem &templateItem, double defaultRate,
                                          CategoryNormalizer normalizeCategory)
{
    ProjectItem item;
    item.title = Text::trimmedSpacesAndTabs(templateItem.title);
    if (templateItem.description && !templateItem.description->isEmpty())
        item.description = templateItem.description;
    // Lines from templates are normalised for the default sphere, whatever the template's own.
    item.category = normalizeCategory(templateItem.category, QStringLiteral("software"));
    item.hours = templateItem.hours >= 0 ? templateItem.hours : 0.0;
    const double rate = templateItem.rate > 0 ? templateItem.rate : defaultRate;
    item.rate = rate >= 0 ? rate : 0.0; // also drops NaN
    item.isLocked = templateItem.isLocked;
    return item;
}
