#include "PDFTextBlock.h"

#include <QTextDocument>

#include <cmath>

PDFTextBlock::PDFTextBlock(std::unique_ptr<QTextDocument> document, bool wrap, Qt::Alignment alignment)
    : m_document(std::move(document))
    , m_wrap(wrap)
    , m_alignment(alignment)
{
}

PDFTextBlock::PDFTextBlock(PDFTextBlock &&) noexcept = default;
PDFTextBlock &PDFTextBlock::operator=(PDFTextBlock &&) noexcept = default;
PDFTextBlock::~PDFTextBlock() = default;

qreal PDFTextBlock::height() const
{
    return std::ceil(m_document->size().height());
}

qreal PDFTextBlock::width() const
{
    return m_document->textWidth();
}

qreal PDFTextBlock::naturalWidth() const
{
    return std::ceil(m_document->idealWidth());
}

void PDFTextBlock::setWidth(qreal width)
{
    if (m_document->textWidth() != width)
        m_document->setTextWidth(width);
}
