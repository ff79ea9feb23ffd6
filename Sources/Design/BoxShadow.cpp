#include "BoxShadow.h"

#include <QPainter>
#include <QQuickWindow>
#include <cmath>
#include <vector>

namespace {

// Three box blurs in a row come close to a Gaussian; applied to the alpha channel only.
void boxBlurAlpha(QImage &image, int radius)
{
    if (radius < 1)
        return;
    const int w = image.width();
    const int h = image.height();
    std::vector<int> line(size_t(std::max(w, h)));
    auto pass = [&](bool horizontal) {
        const int length = horizontal ? w : h;
        const int count = horizontal ? h : w;
        for (int n = 0; n < count; ++n) {
            auto pixel = [&](int i) -> uchar & {
                return horizontal ? image.scanLine(n)[i * 4 + 3] : image.scanLine(i)[n * 4 + 3];
            };
            for (int i = 0; i < length; ++i)
                line[size_t(i)] = pixel(i);
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += (i >= 0 && i < length) ? line[size_t(i)] : 0;
            const int window = 2 * radius + 1;
            for (int i = 0; i < length; ++i) {
                pixel(i) = uchar(sum / window);
                const int out = i - radius;
                const int in = i + radius + 1;
                sum += (in < length ? line[size_t(in)] : 0) - (out >= 0 ? line[size_t(out)] : 0);
            }
        }
    };
    for (int k = 0; k < 3; ++k) {
        pass(true);
        pass(false);
    }
}

} // namespace

BoxShadow::BoxShadow(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void BoxShadow::setRadius(qreal radius)
{
    if (m_radius == radius)
        return;
    m_radius = radius;
    changeShape();
}

void BoxShadow::setBlur(qreal blur)
{
    if (m_blur == blur)
        return;
    m_blur = blur;
    changeShape();
}

void BoxShadow::setStrokeWidth(qreal width)
{
    if (m_strokeWidth == width)
        return;
    m_strokeWidth = width;
    changeShape();
}

void BoxShadow::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    changeShape();
}

void BoxShadow::setOffsetX(qreal offset)
{
    if (m_offsetX == offset)
        return;
    m_offsetX = offset;
    changeShape();
}

void BoxShadow::setOffsetY(qreal offset)
{
    if (m_offsetY == offset)
        return;
    m_offsetY = offset;
    changeShape();
}

qreal BoxShadow::margin() const
{
    return std::ceil(m_blur * 1.5 + std::max(std::abs(m_offsetX), std::abs(m_offsetY)));
}

void BoxShadow::changeShape()
{
    m_tile = QImage();
    Q_EMIT shapeChanged();
    update();
}

// The blurred shape of the given size, with room for the blur around it.
QImage BoxShadow::renderShadow(const QSizeF &shapeSize, int scale) const
{
    const qreal spread = std::ceil(m_blur * 1.5);
    const QSize pixels = ((shapeSize + QSizeF(2 * spread, 2 * spread)) * scale).toSize();
    QImage mask(pixels, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        const QRectF shape(QPointF(spread, spread), shapeSize);
        if (m_strokeWidth > 0) {
            const qreal half = m_strokeWidth / 2;
            const qreal r = std::max<qreal>(0, m_radius - half);
            p.setPen(QPen(Qt::black, m_strokeWidth));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(shape.adjusted(half, half, -half, -half), r, r);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawRoundedRect(shape, m_radius, m_radius);
        }
    }
    // A box of radius r run three times has about the deviation of a Gaussian of deviation r.
    boxBlurAlpha(mask, int(std::round(m_blur / 2 * scale)));
    QImage colored(mask.size(), QImage::Format_ARGB32_Premultiplied);
    colored.fill(Qt::transparent);
    QPainter p(&colored);
    p.drawImage(0, 0, mask);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(colored.rect(), m_color);
    p.end();
    return colored;
}

void BoxShadow::paint(QPainter *painter)
{
    const int scale = std::max(1, int(std::ceil(window() ? window()->effectiveDevicePixelRatio() : 1.0)));
    const qreal m = margin();
    const qreal spread = std::ceil(m_blur * 1.5);
    const QRectF shape = QRectF(0, 0, width(), height()).adjusted(m, m, -m, -m).translated(m_offsetX, m_offsetY);
    if (shape.width() <= 0 || shape.height() <= 0)
        return;
    const QRectF outer = shape.adjusted(-spread, -spread, spread, spread);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);

    // A corner holds the blur outside, the curve and the blur inside; the sides and the middle
    // are stretched from a tile's centre lines, since a blurred straight edge is the same along it.
    const qreal corner = 2 * spread + std::max(m_radius, m_strokeWidth) + 1;
    const bool small = shape.width() + 2 * spread < 2 * corner + 1 || shape.height() + 2 * spread < 2 * corner + 1;
    const QSizeF tileShape = small ? shape.size() : QSizeF(2 * corner + 1 - 2 * spread, 2 * corner + 1 - 2 * spread);
    if (m_tile.isNull() || m_tileScale != scale || m_tileShape != tileShape) {
        m_tile = renderShadow(tileShape, scale);
        m_tileScale = scale;
        m_tileShape = tileShape;
    }
    if (small) {
        painter->drawImage(outer, m_tile);
        return;
    }
    const qreal side = 2 * corner + 1;
    const qreal xs[4] = {outer.left(), outer.left() + corner, outer.right() - corner, outer.right()};
    const qreal ys[4] = {outer.top(), outer.top() + corner, outer.bottom() - corner, outer.bottom()};
    const qreal ts[4] = {0, corner, side - corner, side};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF target(QPointF(xs[col], ys[row]), QPointF(xs[col + 1], ys[row + 1]));
            const QRectF source(QPointF(ts[col] * scale, ts[row] * scale),
                                QPointF(ts[col + 1] * scale, ts[row + 1] * scale));
            painter->drawImage(target, m_tile, source);
        }
    }
}
