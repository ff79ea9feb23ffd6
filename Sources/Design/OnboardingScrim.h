#pragma once

#include <QQuickPaintedItem>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The tour's dimming layer: fills itself with black (use `opacity`, 0.4 for the tour) except
// for a rounded hole 8 points around `cutoutInGlobal` (a window rectangle, or undefined). It
// takes every pointer event, the hole included, so the window below cannot be used meanwhile.
class OnboardingScrim : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QVariant cutoutInGlobal READ cutoutInGlobal WRITE setCutoutInGlobal NOTIFY cutoutInGlobalChanged)
    Q_PROPERTY(QRectF hole READ holeRect NOTIFY holeChanged)
    Q_PROPERTY(bool hasHole READ hasHole NOTIFY holeChanged)

public:
    explicit OnboardingScrim(QQuickItem *parent = nullptr);

    QVariant cutoutInGlobal() const { return m_cutout; }
    void setCutoutInGlobal(const QVariant &cutout);
    std::optional<QRectF> hole() const;
    QRectF holeRect() const { return hole().value_or(QRectF()); }
    bool hasHole() const { return hole().has_value(); }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void cutoutInGlobalChanged();
    void holeChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void touchEvent(QTouchEvent *event) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    void refresh();

    QVariant m_cutout;
    std::optional<QRectF> m_lastHole;
};
