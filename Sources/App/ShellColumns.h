#pragma once

#include "AdaptiveMetrics.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The main window's column widths for its width and what its detail column shows: the widths
// of AdaptiveMetrics, with the list column folded into a rail where the detail (the editor)
// needs more room than the sidebar and the list leave it.
class ShellColumns : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // The window's content width, as the metrics give it.
    Q_PROPERTY(double width READ width WRITE setWidth NOTIFY changed)
    // What the detail column's content needs at least; 0 for the column's own minimum.
    Q_PROPERTY(double detailNeeds READ detailNeeds WRITE setDetailNeeds NOTIFY changed)
    Q_PROPERTY(double editorMinWidth READ editorMinWidth CONSTANT)
    Q_PROPERTY(double sidebarMinWidth READ sidebarMinWidth NOTIFY changed)
    Q_PROPERTY(double sidebarIdealWidth READ sidebarIdealWidth NOTIFY changed)
    Q_PROPERTY(double sidebarMaxWidth READ sidebarMaxWidth NOTIFY changed)
    Q_PROPERTY(bool contentFolded READ contentFolded NOTIFY changed)
    Q_PROPERTY(double contentMinWidth READ contentMinWidth NOTIFY changed)
    Q_PROPERTY(double contentIdealWidth READ contentIdealWidth NOTIFY changed)
    // Unbounded unless folded.
    Q_PROPERTY(double contentMaxWidth READ contentMaxWidth NOTIFY changed)
    Q_PROPERTY(double detailMinWidth READ detailMinWidth NOTIFY changed)
    Q_PROPERTY(double foldedListWidth READ foldedListWidth NOTIFY changed)

public:
    explicit ShellColumns(QObject *parent = nullptr);

    double width() const { return m_metrics.width; }
    void setWidth(double width);
    double detailNeeds() const { return m_detailNeeds; }
    void setDetailNeeds(double needs);

    static double editorMinWidth() { return AdaptiveMetrics::EditorMinWidth; }
    double sidebarMinWidth() const { return m_metrics.sidebarMinWidth(); }
    double sidebarIdealWidth() const { return m_metrics.sidebarIdealWidth(m_detailNeeds); }
    double sidebarMaxWidth() const { return m_metrics.sidebarMaxWidth(); }
    bool contentFolded() const { return m_metrics.foldsContent(m_detailNeeds); }
    double contentMinWidth() const;
    double contentIdealWidth() const { return m_metrics.contentIdealWidth(m_detailNeeds); }
    double contentMaxWidth() const;
    double detailMinWidth() const { return m_metrics.detailMinWidth(m_detailNeeds); }
    double foldedListWidth() const { return m_metrics.foldedListWidth(); }

Q_SIGNALS:
    void changed();

private:
    AdaptiveMetrics m_metrics;
    double m_detailNeeds = 0;
};
