#pragma once

#include <QObject>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// Put inside a one-line text input: when the focus comes to it by the keyboard (Tab, Shift+Tab,
// a shortcut) or the application lands on it after an action, its whole text is selected, so
// that typing replaces it, as desktop fields do. A click places the caret where it points, and
// the window or a popup giving the focus back leaves the caret and selection as they were.
class SelectAllOnFocus : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT

public:
    explicit SelectAllOnFocus(QObject *parent = nullptr);

    void classBegin() override {}
    void componentComplete() override;

    // Whether a focus that came for this reason selects the text.
    static bool selectsFor(Qt::FocusReason reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QQuickItem *m_input = nullptr;
};
