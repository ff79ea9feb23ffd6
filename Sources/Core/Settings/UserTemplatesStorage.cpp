#include "UserTemplatesStorage.h"

#include "Settings/Preferences.h"
#include "Utils/Json.h"

QString UserTemplatesStorage::key()
{
    return QStringLiteral("estimate.userTemplates.v1");
}

QList<EstimateTemplate> UserTemplatesStorage::load()
{
    const QVariant value = Preferences::shared().value(key());
    // A text or any other kind of value is not the stored form, even when it spells valid JSON.
    if (value.typeId() != QMetaType::QByteArray)
        return {};
    try {
        return EstimateTemplate::listFromJson(Json::parse(value.toByteArray()));
    } catch (const DecodingError &) {
        return {};
    }
}
