#include "EstimateItemFormModel.h"
#include "SelectOption.h"

#include "Data/EstimateCatalogLoader.h"
#include "Utils/APIDecoding.h"
#include "Utils/NumberText.h"
#include "Utils/Numbers.h"
#include "Utils/Text.h"

#include <QVariantMap>

EstimateItemFormModel::EstimateItemFormModel(QObject *parent)
    : QObject(parent)
{
}

void EstimateItemFormModel::open(const EditableEstimateItem &item, const QString &currency, double defaultRate,
                                 const QString &sphereId, bool isNew)
{
    m_draft = item;
    m_currency = currency;
    m_defaultRate = defaultRate;
    m_sphereId = sphereId;
    m_isNew = isNew;
    m_hoursText = NumberText::shortest(item.hours);
    m_rateText = NumberText::shortest(item.rate);
    m_categoryOptions.clear();
    for (const CatalogCategory &category : EstimateCatalogLoader::categories(sphereId))
        m_categoryOptions.append(SelectOption::of(category.id, category.name));
    Q_EMIT opened();
    Q_EMIT titleChanged();
    Q_EMIT descriptionChanged();
    Q_EMIT categoryChanged();
    Q_EMIT hoursTextChanged();
    Q_EMIT rateTextChanged();
    Q_EMIT isLockedChanged();
}

QString EstimateItemFormModel::sheetTitle() const
{
    return m_isNew ? QStringLiteral("Новая строка") : QStringLiteral("Редактирование");
}

void EstimateItemFormModel::setTitle(const QString &title)
{
    if (m_draft.title == title)
        return;
    m_draft.title = title;
    Q_EMIT titleChanged();
}

void EstimateItemFormModel::setDescription(const QString &description)
{
    if (m_draft.description == description)
        return;
    m_draft.description = description;
    Q_EMIT descriptionChanged();
}

void EstimateItemFormModel::setCategory(const QString &category)
{
    if (m_draft.category == category)
        return;
    m_draft.category = category;
    Q_EMIT categoryChanged();
}

void EstimateItemFormModel::setHoursText(const QString &text)
{
    if (m_hoursText == text)
        return;
    m_hoursText = text;
    Q_EMIT hoursTextChanged();
}

void EstimateItemFormModel::setRateText(const QString &text)
{
    if (m_rateText == text)
        return;
    m_rateText = text;
    Q_EMIT rateTextChanged();
}

void EstimateItemFormModel::setIsLocked(bool locked)
{
    if (m_draft.isLocked == locked)
        return;
    m_draft.isLocked = locked;
    Q_EMIT isLockedChanged();
}

bool EstimateItemFormModel::canSave() const
{
    return !Text::trimmedSpacesAndTabs(m_draft.title).isEmpty();
}

QString EstimateItemFormModel::rateTitle() const
{
    return QStringLiteral("Ставка (") + m_currency + QLatin1Char(')');
}

QString EstimateItemFormModel::defaultRateButtonText() const
{
    const qint64 whole = Numbers::truncatedInt64(m_defaultRate).value_or(0);
    return QStringLiteral("Подставить ставку по умолчанию (") + QString::number(whole) + QLatin1Char(')');
}

void EstimateItemFormModel::useDefaultRate()
{
    setRateText(NumberText::shortest(m_defaultRate));
}

bool EstimateItemFormModel::save()
{
    if (!canSave())
        return false;
    EditableEstimateItem item = m_draft;
    item.hours = parseAmount(m_hoursText);
    item.rate = parseAmount(m_rateText);
    item.category = EstimateCatalogLoader::normalizeCategory(item.category, m_sphereId);
    Q_EMIT saved(item);
    return true;
}

double EstimateItemFormModel::parseAmount(QStringView text)
{
    // The same reading as the default-rate field; infinite values are refused with the rest, so
    // that a line keeps totals and money texts finite.
    const std::optional<double> value = APIDecoding::parseLenientNumber(text.toString());
    return value && *value >= 0 ? *value : 0.0;
}
