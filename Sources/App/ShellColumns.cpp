#include "ShellColumns.h"

#include <limits>

ShellColumns::ShellColumns(QObject *parent)
    : QObject(parent)
{
}

void ShellColumns::setWidth(double width)
{
    if (m_metrics.width == width)
        return;
    m_metrics.width = width;
    Q_EMIT changed();
}

void ShellColumns::setDetailNeeds(double needs)
{
    if (m_detailNeeds == needs)
        return;
    m_detailNeeds = needs;
    Q_EMIT changed();
}

double ShellColumns::contentMinWidth() const
{
    return contentFolded() ? AdaptiveMetrics::FoldedContentWidth : m_metrics.contentMinWidth();
}

double ShellColumns::contentMaxWidth() const
{
    return contentFolded() ? AdaptiveMetrics::FoldedContentWidth : std::numeric_limits<double>::infinity();
}
