#pragma once

#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// A focus scope that clips what it holds to its rectangle with rounded corners, so that content
// reaching the edge of a rounded frame (a sheet's body, its own background) leaves the frame's
// corners open. The clip's edge is not smoothed: lay the frame's rounded outline over it.
class RoundedClipScope : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit RoundedClipScope(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

Q_SIGNALS:
    void radiusChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *node, UpdatePaintNodeData *data) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    qreal m_radius = 0;
};
