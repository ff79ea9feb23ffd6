#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// One figure as a card or a line of the analytics screens shows it: its title, the value, an
// optional line of sums below and the symbol; and what a screen reader says of it.
struct AnalyticsFigure
{
    Q_GADGET
    QML_VALUE_TYPE(analyticsFigure)

    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString value MEMBER value)
    Q_PROPERTY(QString icon MEMBER icon)
    Q_PROPERTY(QString subtitle MEMBER subtitle)
    Q_PROPERTY(bool showsSubtitle READ showsSubtitle)
    Q_PROPERTY(QString spokenValue READ spokenValue)
    Q_PROPERTY(QString spokenLine READ spokenLine)

public:
    QString title;
    QString value;
    QString icon;
    QString subtitle;

    // The line below shows unless it is empty or the lone dash of a bucket without sums.
    bool showsSubtitle() const;
    // The value, then the line below where it shows; amounts of several currencies are read
    // one after the other.
    QString spokenValue() const;
    // The title and the value together, as a line of figures is read: "План: 1 000 ₽".
    QString spokenLine() const;

    // Figures as QML reads a list of them.
    static QVariantList toVariantList(const QList<AnalyticsFigure> &figures);

    bool operator==(const AnalyticsFigure &) const = default;
};

Q_DECLARE_METATYPE(AnalyticsFigure)
