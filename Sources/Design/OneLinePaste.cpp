#include "OneLinePaste.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QRegularExpression>

OneLinePaste::OneLinePaste(QObject *parent)
    : QObject(parent)
{
}

// Declared inside the input, which is its parent by then.
void OneLinePaste::componentComplete()
{
    m_input = qobject_cast<QQuickItem *>(parent());
    if (m_input)
        m_input->installEventFilter(this);
}

QString OneLinePaste::oneLine(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    return QString(text).replace(lineBreak, QStringLiteral(" "));
}

bool OneLinePaste::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_input)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
        return paste(QClipboard::Clipboard);
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton
        && QGuiApplication::clipboard()->supportsSelection())
        return paste(QClipboard::Selection);
    return false;
}

bool OneLinePaste::paste(QClipboard::Mode mode)
{
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    if (m_input->property("readOnly").toBool() || oneLine(pasted) == pasted)
        return false;
    // In place of the selection, as the input's own paste.
    const int start = m_input->property("selectionStart").toInt();
    const int end = m_input->property("selectionEnd").toInt();
    if (start != end)
        QMetaObject::invokeMethod(m_input, "remove", Q_ARG(int, start), Q_ARG(int, end));
    QMetaObject::invokeMethod(m_input, "insert", Q_ARG(int, m_input->property("cursorPosition").toInt()),
                              Q_ARG(QString, oneLine(pasted)));
    return true;
}
