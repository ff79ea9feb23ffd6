#pragma once

#include <QClipboard>
#include <QObject>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// Put inside a one-line text input: a pasted text that holds line breaks comes in with a space
// for each break, as desktop line edits take it, so that what the field holds is what it shows.
class OneLinePaste : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT

public:
    explicit OneLinePaste(QObject *parent = nullptr);

    void classBegin() override {}
    void componentComplete() override;

    // The text with each line break (CR LF, CR, LF, a line or paragraph separator) as a space.
    static QString oneLine(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Pastes the clipboard's text as one line; false when it holds no break, for the input to paste.
    bool paste(QClipboard::Mode mode);

    QQuickItem *m_input = nullptr;
};
