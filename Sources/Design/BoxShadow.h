#pragma once

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// A soft shadow of a rounded rectangle, filled or (with `strokeWidth`) only its outline, blurred
// like a Gaussian of deviation blur/2 and moved by the offset. Lay it over the shape it belongs
// to with `margins: -margin`; the shape is the item's rectangle inset by `margin`.
class BoxShadow : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY shapeChanged)
    Q_PROPERTY(qreal blur READ blur WRITE setBlur NOTIFY shapeChanged)
    Q_PROPERTY(qreal strokeWidth READ strokeWidth WRITE setStrokeWidth NOTIFY shapeChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY shapeChanged)
    Q_PROPERTY(qreal offsetX READ offsetX WRITE setOffsetX NOTIFY shapeChanged)
    Q_PROPERTY(qreal offsetY READ offsetY WRITE setOffsetY NOTIFY shapeChanged)
    Q_PROPERTY(qreal margin READ margin NOTIFY shapeChanged)

public:
    explicit BoxShadow(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal blur() const { return m_blur; }
    void setBlur(qreal blur);
    qreal strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(qreal width);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    qreal offsetX() const { return m_offsetX; }
    void setOffsetX(qreal offset);
    qreal offsetY() const { return m_offsetY; }
    void setOffsetY(qreal offset);
    qreal margin() const;

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void shapeChanged();

private:
    void changeShape();
    QImage renderShadow(const QSizeF &shapeSize, int scale) const;

    qreal m_radius = 0;
    qreal m_blur = 0;
    qreal m_strokeWidth = 0;
    QColor m_color = QColor(0, 0, 0, 40);
    qreal m_offsetX = 0;
    qreal m_offsetY = 0;
    QImage m_tile;
    int m_tileScale = 0;
    QSizeF m_tileShape;
};
