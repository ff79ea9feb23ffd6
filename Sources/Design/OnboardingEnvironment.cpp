#include "OnboardingEnvironment.h"

#include "AncestorWatcher.h"

#include <QQmlEngine>

OnboardingEnvironment::OnboardingEnvironment(QObject *attachee)
    : QObject(attachee)
{
    if (auto *item = qobject_cast<QQuickItem *>(attachee)) {
        m_watcher = new AncestorWatcher(item, this);
        connect(m_watcher, &AncestorWatcher::chainChanged, this, &OnboardingEnvironment::resolve);
        resolve();
    }
}

OnboardingEnvironment::~OnboardingEnvironment()
{
    if (m_writes || m_collects)
        AncestorWatcher::providerGoing();
}

OnboardingEnvironment *OnboardingEnvironment::qmlAttachedProperties(QObject *object)
{
    return new OnboardingEnvironment(object);
}

OnboardingEnvironment *OnboardingEnvironment::existing(QQuickItem *item)
{
    return qobject_cast<OnboardingEnvironment *>(qmlAttachedPropertiesObject<OnboardingEnvironment>(item, false));
}

OnboardingEnvironment *OnboardingEnvironment::collectorFor(QQuickItem *item)
{
    for (QQuickItem *a = item; a; a = AncestorWatcher::nextAncestor(a)) {
        if (OnboardingEnvironment *environment = existing(a); environment && environment->m_collects)
            return environment;
    }
    return nullptr;
}

QString OnboardingEnvironment::highlight() const
{
    if (m_writes)
        return m_value;
    return m_source ? m_source->highlight() : QString();
}

void OnboardingEnvironment::setHighlight(const QString &highlight)
{
    const bool becomesWriter = !m_writes;
    m_writes = true;
    m_value = highlight;
    if (becomesWriter) {
        disconnect(m_sourceLink);
        AncestorWatcher::providersChanged();
    }
    if (m_lastSeen != highlight) {
        m_lastSeen = highlight;
        Q_EMIT highlightChanged();
    }
}

void OnboardingEnvironment::setCollectsFrames(bool collects)
{
    if (m_collects == collects)
        return;
    m_collects = collects;
    Q_EMIT collectsFramesChanged();
    AncestorWatcher::providersChanged();
}

QVariantMap OnboardingEnvironment::frames() const
{
    QVariantMap merged;
    for (const Report &r : m_reports)
        merged.insert(r.key, r.frame);
    return merged;
}

QVariant OnboardingEnvironment::frameFor(const QString &key) const
{
    for (auto r = m_reports.crbegin(); r != m_reports.crend(); ++r) {
        if (r->key == key)
            return r->frame;
    }
    return {};
}

void OnboardingEnvironment::report(QObject *reporter, const QString &key, const QRectF &frame)
{
    for (Report &r : m_reports) {
        if (r.reporter == reporter) {
            if (r.key == key && r.frame == frame)
                return;
            r.key = key;
            r.frame = frame;
            Q_EMIT framesChanged();
            return;
        }
    }
    m_reports.append({reporter, key, frame});
    Q_EMIT framesChanged();
}

void OnboardingEnvironment::withdraw(QObject *reporter)
{
    if (m_reports.removeIf([reporter](const Report &r) { return r.reporter == reporter; }) > 0)
        Q_EMIT framesChanged();
}

void OnboardingEnvironment::resolve()
{
    if (m_writes)
        return;
    OnboardingEnvironment *source = nullptr;
    m_watcher->findAncestor([&source](QQuickItem *a) {
        OnboardingEnvironment *environment = existing(a);
        if (environment && environment->m_writes)
            source = environment;
        return source != nullptr;
    });
    if (source != m_source) {
        disconnect(m_sourceLink);
        m_source = source;
        if (source) {
            m_sourceLink = connect(source, &OnboardingEnvironment::highlightChanged, this, [this] {
                if (m_lastSeen != highlight()) {
                    m_lastSeen = highlight();
                    Q_EMIT highlightChanged();
                }
            });
        }
    }
    if (m_lastSeen != highlight()) {
        m_lastSeen = highlight();
        Q_EMIT highlightChanged();
    }
}
