#include "OnboardingScrim.h"

#include "SpotlightGeometry.h"

#include <QPainter>

OnboardingScrim::OnboardingScrim(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptHoverEvents(true);
    setAcceptTouchEvents(true);
    setFlag(ItemIsFocusScope, false);
}

void OnboardingScrim::setCutoutInGlobal(const QVariant &cutout)
{
    if (m_cutout == cutout)
        return;
    m_cutout = cutout;
    Q_EMIT cutoutInGlobalChanged();
    refresh();
}

std::optional<QRectF> OnboardingScrim::hole() const
{
    std::optional<QRectF> cutout;
    if (m_cutout.isValid() && !m_cutout.isNull() && m_cutout.canConvert<QRectF>())
        cutout = m_cutout.toRectF();
    return SpotlightGeometry::scrimHole(cutout, mapToScene(QPointF(0, 0)));
}

void OnboardingScrim::paint(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(SpotlightGeometry::scrimPath(size(), hole()), Qt::black);
}

void OnboardingScrim::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void OnboardingScrim::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void OnboardingScrim::hoverEnterEvent(QHoverEvent *event)
{
    event->accept();
}

void OnboardingScrim::touchEvent(QTouchEvent *event)
{
    event->accept();
}

void OnboardingScrim::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemParentHasChanged)
        refresh();
}

void OnboardingScrim::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    refresh();
}

void OnboardingScrim::refresh()
{
    const std::optional<QRectF> now = hole();
    if (now != m_lastHole) {
        m_lastHole = now;
        Q_EMIT holeChanged();
    }
    update();
}
