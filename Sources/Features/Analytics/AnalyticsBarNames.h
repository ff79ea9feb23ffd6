#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The names under the bar chart's groups, laid out for the width of a group in the given font:
// each broken into lines only between words (at a blank, or after a hyphen), on at most
// maximumLineCount lines, the last one ending in "…" when words are left over; a word wider than
// a line stands on a line of its own, cut and ended with "…". `fits` tells whether every word of
// every name fits the width whole; where one does not, the chart slants its names instead.
class AnalyticsBarNames : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QStringList names READ names WRITE setNames NOTIFY inputChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY inputChanged)
    Q_PROPERTY(qreal width READ width WRITE setWidth NOTIFY inputChanged)
    Q_PROPERTY(int maximumLineCount READ maximumLineCount WRITE setMaximumLineCount NOTIFY inputChanged)
    // Each name's lines, joined by line feeds.
    Q_PROPERTY(QStringList texts READ texts NOTIFY textsChanged)
    Q_PROPERTY(bool fits READ fits NOTIFY textsChanged)

public:
    explicit AnalyticsBarNames(QObject *parent = nullptr);

    QStringList names() const { return m_names; }
    void setNames(const QStringList &names);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    qreal width() const { return m_width; }
    void setWidth(qreal width);
    int maximumLineCount() const { return m_maximumLineCount; }
    void setMaximumLineCount(int count);

    QStringList texts() const { return m_texts; }
    bool fits() const { return m_fits; }

    // The name's lines in that width, as above; the name on one line when the width is none.
    static QStringList lines(const QString &name, const QFontMetricsF &metrics, qreal width, int maximumLineCount);
    // Whether each of the name's words (the pieces between places where a line may break) fits
    // the width.
    static bool wordsFit(const QString &name, const QFontMetricsF &metrics, qreal width);

Q_SIGNALS:
    void inputChanged();
    void textsChanged();

private:
    void relayout();

    QStringList m_names;
    QFont m_font;
    qreal m_width = 0;
    int m_maximumLineCount = 3;
    QStringList m_texts;
    bool m_fits = false;
};
