#include "PDFPreviewImageProvider.h"

#include <QPainter>
#include <QPdfDocument>
#include <QQmlEngine>

namespace {

const QString providerId = QStringLiteral("tessmark-pdf-preview");

// The thumbnail's corners, cut here: Qt Quick 6.4 has no rounded clip for an image.
QImage rounded(const QImage &image, qreal radius)
{
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(image));
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(image.size())), radius, radius);
    painter.end();
    return result;
}

} // namespace

PDFPreviewImageProvider::PDFPreviewImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image, QQmlImageProviderBase::ForceAsynchronousImageLoading)
{
}

void PDFPreviewImageProvider::install(QQmlEngine *engine)
{
    if (engine && !engine->imageProvider(providerId))
        engine->addImageProvider(providerId, new PDFPreviewImageProvider);
}

QUrl PDFPreviewImageProvider::source(const QString &pdfPath, int revision)
{
    return QUrl(QStringLiteral("image://%1/%2/%3")
                    .arg(providerId)
                    .arg(revision)
                    .arg(QString::fromLatin1(QUrl::toPercentEncoding(pdfPath))));
}

QImage PDFPreviewImageProvider::render(const QString &pdfPath, const QSize &maxSize)
{
    if (maxSize.isEmpty())
        return {};
    QPdfDocument document;
    if (document.load(pdfPath) != QPdfDocument::Error::None || document.pageCount() < 1)
        return {};
    const QSizeF page = document.pagePointSize(0);
    if (page.isEmpty())
        return {};
    const QSize size = page.scaled(QSizeF(maxSize), Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
    return document.render(0, size);
}

int PDFPreviewImageProvider::pageCount(const QString &pdfPath)
{
    QPdfDocument document;
    return document.load(pdfPath) == QPdfDocument::Error::None ? document.pageCount() : 0;
}

QImage PDFPreviewImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    // The revision only makes each render's address new; the rest is the path.
    const QString encoded = id.section(QLatin1Char('/'), 1);
    const QString path = QUrl::fromPercentEncoding(encoded.toUtf8());
    QSize wanted = requestedSize;
    if (wanted.width() <= 0 && wanted.height() <= 0)
        wanted = defaultSize;
    else if (wanted.width() <= 0)
        wanted.setWidth(wanted.height());
    else if (wanted.height() <= 0)
        wanted.setHeight(wanted.width() * 2);
    QImage image = render(path, wanted);
    if (!image.isNull())
        image = rounded(image, cornerRadius * image.width() / defaultSize.width());
    if (size)
        *size = image.size();
    return image;
}
