#pragma once

#include <QImage>
#include <QQuickImageProvider>
#include <QString>
#include <QUrl>

class QQmlEngine;

// Pictures of the first page of a PDF file for QML images, drawn on the image loader's thread.
// The address is "image://tessmark-pdf-preview/<revision>/<file path, percent-encoded>".
class PDFPreviewImageProvider : public QQuickImageProvider
{
public:
    // The size a thumbnail is drawn at when the image asks for none: 220 points wide, A4 shaped.
    static constexpr QSize defaultSize{220, 311};
    // Of a thumbnail shown 220 points wide.
    static constexpr qreal cornerRadius = 12;

    PDFPreviewImageProvider();

    // Adds the provider to the engine unless it has one already.
    static void install(QQmlEngine *engine);
    static QUrl source(const QString &pdfPath, int revision);

    // Page 1 of the file, fitted into maxSize keeping its shape; a null image when the file cannot
    // be read or has no page.
    static QImage render(const QString &pdfPath, const QSize &maxSize);

    // The number of pages of the file; 0 when it cannot be read.
    static int pageCount(const QString &pdfPath);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
};
