#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class AncestorWatcher;
class QQuickItem;

// `Onboarding.highlight` on any item: the key of the element the tour lights now (see
// OnboardingHighlightTarget), "" for none. An item that sets it passes it to every item below;
// outside every such item it reads "". An item with `Onboarding.collectsFrames` gathers the
// window frames that active spotlights below it report, a later report replacing an earlier
// one for the same key.
class OnboardingEnvironment : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Onboarding)
    QML_UNCREATABLE("Onboarding is an attached property")
    QML_ATTACHED(OnboardingEnvironment)

    Q_PROPERTY(QString highlight READ highlight WRITE setHighlight NOTIFY highlightChanged)
    Q_PROPERTY(bool collectsFrames READ collectsFrames WRITE setCollectsFrames NOTIFY collectsFramesChanged)
    Q_PROPERTY(QVariantMap frames READ frames NOTIFY framesChanged)

public:
    explicit OnboardingEnvironment(QObject *attachee);
    ~OnboardingEnvironment() override;

    static OnboardingEnvironment *qmlAttachedProperties(QObject *object);
    // The environment already attached to `item`, if any.
    static OnboardingEnvironment *existing(QQuickItem *item);
    // The collector that gathers the reports of `item`: its own or its nearest ancestor's.
    static OnboardingEnvironment *collectorFor(QQuickItem *item);

    QString highlight() const;
    void setHighlight(const QString &highlight);
    bool collectsFrames() const { return m_collects; }
    void setCollectsFrames(bool collects);
    QVariantMap frames() const;

    // The frame reported for `key`, or undefined (not a binding source: read `frames[key]`).
    Q_INVOKABLE QVariant frameFor(const QString &key) const;

    void report(QObject *reporter, const QString &key, const QRectF &frame);
    void withdraw(QObject *reporter);

Q_SIGNALS:
    void highlightChanged();
    void collectsFramesChanged();
    void framesChanged();

private:
    struct Report
    {
        QObject *reporter;
        QString key;
        QRectF frame;
    };

    void resolve();

    AncestorWatcher *m_watcher = nullptr;
    bool m_writes = false;
    QString m_value;
    QPointer<OnboardingEnvironment> m_source;
    QMetaObject::Connection m_sourceLink;
    QString m_lastSeen;
    bool m_collects = false;
    QList<Report> m_reports;
};
