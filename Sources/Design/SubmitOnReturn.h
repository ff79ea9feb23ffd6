#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// `SubmitOnReturn.onSubmitted: action` on a view: Return or Enter pressed in any one-line text
// input inside it runs the action once.
class SubmitOnReturn : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("SubmitOnReturn is an attached property")
    QML_ATTACHED(SubmitOnReturn)

public:
    explicit SubmitOnReturn(QObject *attachee);

    static SubmitOnReturn *qmlAttachedProperties(QObject *object);

Q_SIGNALS:
    void submitted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QQuickItem *m_item = nullptr;
};
