#include "FinanceBannerFigures.h"

#include "Utils/MoneyFormat.h"

#include <algorithm>
#include <cmath>

namespace {

double orZero(double value)
{
    return std::isnan(value) ? 0 : value;
}

} // namespace

FinanceBannerFigures::FinanceBannerFigures(QObject *parent)
    : QObject(parent)
{
}

double FinanceBannerFigures::paidShare(const std::optional<EstimateAnalytics> &analytics)
{
    if (!analytics)
        return 0;
    const double planned = orZero(analytics->planned.totalCost);
    const double paid = orZero(analytics->paid.receivedTotal);
    if (planned <= 0)
        return paid > 0 ? 1 : 0;
    const double share = paid / planned;
    return std::isnan(share) ? 0 : std::clamp(share, 0.0, 1.0);
}

QVariant FinanceBannerFigures::analyticsValue() const
{
    return m_analytics ? QVariant::fromValue(*m_analytics) : QVariant();
}

void FinanceBannerFigures::setAnalytics(const QVariant &value)
{
    m_analytics = value.metaType() == QMetaType::fromType<EstimateAnalytics>()
        ? std::optional(value.value<EstimateAnalytics>())
        : std::nullopt;
    Q_EMIT figuresChanged();
}

void FinanceBannerFigures::setCurrency(const QString &currency)
{
    if (m_currency == currency)
        return;
    m_currency = currency;
    Q_EMIT figuresChanged();
}

QString FinanceBannerFigures::planText() const
{
    return MoneyFormat::format(m_analytics ? m_analytics->planned.totalCost : 0, m_currency);
}

QString FinanceBannerFigures::paidText() const
{
    return MoneyFormat::format(m_analytics ? m_analytics->paid.receivedTotal : 0, m_currency);
}

QString FinanceBannerFigures::deltaText() const
{
    return hasDelta() ? MoneyFormat::format(m_analytics->deltaFromAi->cost, m_currency) : QString();
}
