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
    m_openedHoursText = m_hoursText;
    m_openedRateText = m_rateText;
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
    Q_EMIT canSaveChanged();
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
    Q_EMIT canSaveChanged();
}

void EstimateItemFormModel::setDescription(const QString &description)
{
    if (m_draft.description == description)
        return;
    m_draft.description = description;
    Q_EMIT descriptionChanged();
}

QString EstimateItemFormModel::shownTitle() const
{
    return Text::boundedMessage(m_draft.title);
}

QString EstimateItemFormModel::shownDescription() const
{
    return Text::boundedMessage(m_draft.description);
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
    Q_EMIT canSaveChanged();
}

void EstimateItemFormModel::setRateText(const QString &text)
{
    if (m_rateText == text)
        return;
    m_rateText = text;
    Q_EMIT rateTextChanged();
    Q_EMIT canSaveChanged();
}

void EstimateItemFormModel::setIsLocked(bool locked)
{
    if (m_draft.isLocked == locked)
        return;
    m_draft.isLocked = locked;
    Q_EMIT isLockedChanged();
}

std::optional<QString> EstimateItemFormModel::hoursError() const
{
    return m_hoursText == m_openedHoursText ? std::nullopt : amountError(m_hoursText);
}

std::optional<QString> EstimateItemFormModel::rateError() const
{
    if (m_rateText == m_openedRateText || m_rateText == NumberText::shortest(m_defaultRate))
        return std::nullopt;
    return amountError(m_rateText);
}

QVariant EstimateItemFormModel::hoursErrorValue() const
{
    const std::optional<QString> error = hoursError();
    return error ? QVariant(*error) : QVariant();
}

QVariant EstimateItemFormModel::rateErrorValue() const
{
    const std::optional<QString> error = rateError();
    return error ? QVariant(*error) : QVariant();
}

bool EstimateItemFormModel::canSave() const
{
    return !Text::trimmedSpacesAndTabs(m_draft.title).isEmpty() && !hoursError() && !rateError();
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
    return value && *value >= 0 ? *value + 0.0 : 0.0; // + 0.0 turns -0 into 0
}

std::optional<QString> EstimateItemFormModel::amountError(QStringView text)
{
    // A negative number is 0 whatever its digits, so only what would be stored is looked at.
    const std::optional<double> value = APIDecoding::parseLenientNumber(text.toString());
    if (!value || !(*value >= 0))
        return std::nullopt;
    if (const std::optional<NumberText::Inexact> reason = NumberText::inexactness(text, *value))
        return NumberText::inexactMessage(*reason);
    return std::nullopt;
}
