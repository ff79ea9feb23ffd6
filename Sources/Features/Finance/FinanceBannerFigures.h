#pragma once

#include "Models/EstimateAnalytics.h"

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// What the editor's finance strip shows of a project's analytics, every amount in the strip's
// currency rather than the record's.
class FinanceBannerFigures : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // An EstimateAnalytics, or anything else (undefined) for none.
    Q_PROPERTY(QVariant analytics READ analyticsValue WRITE setAnalytics NOTIFY figuresChanged)
    Q_PROPERTY(QString currency READ currency WRITE setCurrency NOTIFY figuresChanged)
    Q_PROPERTY(QString planText READ planText NOTIFY figuresChanged)
    Q_PROPERTY(QString paidText READ paidText NOTIFY figuresChanged)
    Q_PROPERTY(bool hasDelta READ hasDelta NOTIFY figuresChanged)
    Q_PROPERTY(QString deltaText READ deltaText NOTIFY figuresChanged)
    Q_PROPERTY(double paidShare READ paidShare NOTIFY figuresChanged)

public:
    explicit FinanceBannerFigures(QObject *parent = nullptr);

    // The filled part of the bar, in [0, 1]: paid over planned; with nothing planned, full
    // once anything is paid. A figure that is not a number counts as 0.
    static double paidShare(const std::optional<EstimateAnalytics> &analytics);

    QVariant analyticsValue() const;
    void setAnalytics(const QVariant &value);
    QString currency() const { return m_currency; }
    void setCurrency(const QString &currency);
    QString planText() const;
    QString paidText() const;
    // Only with a snapshot to differ from.
    bool hasDelta() const { return m_analytics && m_analytics->deltaFromAi && m_analytics->lastAiSnapshot; }
    QString deltaText() const;
    double paidShare() const { return paidShare(m_analytics); }

Q_SIGNALS:
    void figuresChanged();

private:
    std::optional<EstimateAnalytics> m_analytics;
    QString m_currency;
};
