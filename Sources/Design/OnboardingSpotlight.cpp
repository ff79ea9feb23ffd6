#include "OnboardingSpotlight.h"

#include "AncestorWatcher.h"
#include "OnboardingEnvironment.h"
#include "SpotlightGeometry.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

OnboardingSpotlight::OnboardingSpotlight(QObject *attachee)
    : QObject(attachee)
    , m_item(qobject_cast<QQuickItem *>(attachee))
{
    if (m_item) {
        m_watcher = new AncestorWatcher(m_item, this);
        connect(m_watcher, &AncestorWatcher::chainChanged, this, &OnboardingSpotlight::update);
    }
}

OnboardingSpotlight::~OnboardingSpotlight()
{
    withdrawReport();
    if (m_ring)
        delete m_ring.data();
}

OnboardingSpotlight *OnboardingSpotlight::qmlAttachedProperties(QObject *object)
{
    return new OnboardingSpotlight(object);
}

void OnboardingSpotlight::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    Q_EMIT activeChanged();
    update();
}

void OnboardingSpotlight::setHighlight(const QString &highlight)
{
    if (m_highlight == highlight)
        return;
    m_highlight = highlight;
    Q_EMIT highlightChanged();
    update();
}

void OnboardingSpotlight::update()
{
    if (!m_item)
        return;
    if (!m_active) {
        hideRing();
        withdrawReport();
        for (const QMetaObject::Connection &link : std::as_const(m_geometryLinks))
            disconnect(link);
        m_geometryLinks.clear();
        return;
    }
    showRing();
    track();
    OnboardingEnvironment *collector = OnboardingEnvironment::collectorFor(m_item);
    if (collector != m_collector)
        withdrawReport();
    m_collector = collector;
    reportFrame();
}

// The window frame moves with the element and with every ancestor.
void OnboardingSpotlight::track()
{
    for (const QMetaObject::Connection &link : std::as_const(m_geometryLinks))
        disconnect(link);
    m_geometryLinks.clear();
    QList<QQuickItem *> chain = m_watcher->ancestors();
    chain.prepend(m_item);
    for (QQuickItem *a : std::as_const(chain)) {
        for (auto signal :
             {&QQuickItem::xChanged, &QQuickItem::yChanged, &QQuickItem::widthChanged, &QQuickItem::heightChanged}) {
            m_geometryLinks.append(connect(a, signal, this, &OnboardingSpotlight::reportFrame));
            // The ring keeps clear of the window's edges wherever the element moves.
            m_geometryLinks.append(connect(a, signal, this, &OnboardingSpotlight::placeRing));
        }
    }
    m_geometryLinks.append(connect(m_item, &QQuickItem::widthChanged, this, &OnboardingSpotlight::placeRing));
    m_geometryLinks.append(connect(m_item, &QQuickItem::heightChanged, this, &OnboardingSpotlight::placeRing));
}

void OnboardingSpotlight::reportFrame()
{
    if (m_collector && m_active && m_item)
        m_collector->report(this, m_highlight, m_item->mapRectToScene(QRectF(0, 0, m_item->width(), m_item->height())));
}

void OnboardingSpotlight::withdrawReport()
{
    if (m_collector)
        m_collector->withdraw(this);
    m_collector = nullptr;
}

void OnboardingSpotlight::showRing()
{
    if (m_ring)
        return;
    QQmlEngine *engine = qmlEngine(m_item);
    if (!engine)
        return;
    QQmlComponent component(engine, QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Design/SpotlightRing.qml")));
    QObject *created = component.create(qmlContext(m_item));
    auto *ring = qobject_cast<QQuickItem *>(created);
    if (!ring) {
        qWarning() << "spotlight ring:" << component.errorString();
        delete created;
        return;
    }
    ring->setParentItem(m_item);
    ring->setZ(1000);
    m_ring = ring;
    placeRing();
    Q_EMIT ringChanged();
}

void OnboardingSpotlight::hideRing()
{
    if (!m_ring)
        return;
    delete m_ring.data();
    Q_EMIT ringChanged();
}

void OnboardingSpotlight::placeRing()
{
    if (!m_ring || !m_item)
        return;
    const QQuickWindow *window = m_item->window();
    const QRectF frame = window
        ? SpotlightGeometry::ringFrame(m_item->size(), m_item->mapRectToScene(QRectF(QPointF(0, 0), m_item->size())),
                                       window->size())
        : SpotlightGeometry::ringFrame(m_item->size());
    m_ring->setPosition(frame.topLeft());
    m_ring->setSize(frame.size());
}
