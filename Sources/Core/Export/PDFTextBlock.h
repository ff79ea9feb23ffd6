#pragma once

#include <QtCore/qnamespace.h>
#include <memory>

class QTextDocument;

// A text laid out once by the canvas at a width, so that it is measured and drawn from the same
// layout.
class PDFTextBlock
{
public:
    PDFTextBlock(std::unique_ptr<QTextDocument> document, bool wrap, Qt::Alignment alignment);
    PDFTextBlock(PDFTextBlock &&) noexcept;
    PDFTextBlock &operator=(PDFTextBlock &&) noexcept;
    ~PDFTextBlock();

    // Rounded up to a whole point.
    qreal height() const;
    qreal width() const;
    // The widest line as laid out, for text that does not wrap.
    qreal naturalWidth() const;
    bool wraps() const { return m_wrap; }
    Qt::Alignment alignment() const { return m_alignment; }

    void setWidth(qreal width);
    QTextDocument &document() const { return *m_document; }

private:
    std::unique_ptr<QTextDocument> m_document;
    bool m_wrap;
    Qt::Alignment m_alignment;
};
