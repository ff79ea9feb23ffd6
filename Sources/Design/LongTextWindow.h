#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQuickTextInput;
class QKeyEvent;

// Lets a one-line input edit a text of megabytes while laying out only a stretch of it, since a
// text input lays out and draws its whole text again on every change. Without the focus the input
// shows the idle text (the value cut for showing); with it, a window of the value around the caret
// and the selection, moved as they near its edges. Typing changes the window, and takeEdit() puts
// the change into the whole text. Keys that go to the ends of the text, or select up to them, are
// carried out on the whole text as if the input held all of it. Everything selected (Tab into the
// field, Ctrl+A) is shown as the first window selected whole: typing or deleting then replaces the
// whole text, copying copies all of it, undo brings all of it back, and no more than the window is
// laid out.
class LongTextWindow : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject *input READ input WRITE setInput NOTIFY inputChanged)
    // Off: the input's text is left alone.
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QString idleText READ idleText WRITE setIdleText NOTIFY idleTextChanged)
    // The value with the edits typed since it was given.
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    // Where the input's text starts in the whole one.
    Q_PROPERTY(int windowStart READ windowStart NOTIFY windowChanged)
    // Characters laid out while the caret is far from both ends (a text input takes about a
    // microsecond a character to lay out and draw), and how near an edge that is not an end of
    // the text the caret or the selection may come before the window moves.
    Q_PROPERTY(int windowSize READ windowSize WRITE setWindowSize NOTIFY windowChanged)
    Q_PROPERTY(int windowMargin READ windowMargin WRITE setWindowMargin NOTIFY windowChanged)

public:
    explicit LongTextWindow(QObject *parent = nullptr);

    QObject *input() const;
    void setInput(QObject *input);
    bool active() const { return m_active; }
    void setActive(bool active);
    const QString &value() const { return m_value; }
    void setValue(const QString &value);
    const QString &idleText() const { return m_idleText; }
    void setIdleText(const QString &idleText);
    const QString &text() const { return m_text; }
    int windowStart() const { return m_showsWindow ? int(m_start) : 0; }
    int windowSize() const { return int(m_windowSize); }
    void setWindowSize(int size);
    int windowMargin() const { return int(m_windowMargin); }
    void setWindowMargin(int margin);

    // After the input's textEdited: the window's new text replaces the stretch it came from.
    Q_INVOKABLE void takeEdit();

Q_SIGNALS:
    void inputChanged();
    void activeChanged();
    void valueChanged();
    void idleTextChanged();
    void textChanged();
    void windowChanged();
    // The text changed by an undo or redo of an edit of the whole selection, which the input
    // does not report as its own edit.
    void edited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows what fits the input's focus: the window, or the idle text.
    void refresh();
    // Selects the whole text while showing only its first window.
    void selectWhole();
    bool selectionCoversWindow() const;
    // The input's caret and the other end of its selection, in the whole text.
    qsizetype caret() const;
    qsizetype anchor() const;
    // Puts the stretch around [from, to] into the input (from 0 or to the end when `whole`
    // reaches them), keeping the caret and the selection where they were in the whole text.
    void showWindow(qsizetype from, qsizetype to, qsizetype caret, qsizetype anchor);
    // Moves the window once the caret or the selection nears one of its edges; later, not
    // inside the input's own handling of a key.
    void followCaret();
    void moveWindowIfNeeded();
    bool takeKey(const QKeyEvent &key);
    void setText(const QString &text);

    QPointer<QQuickTextInput> m_input;
    bool m_active = false;
    QString m_value;
    QString m_idleText;
    QString m_text;
    qsizetype m_windowSize = 16384;
    qsizetype m_windowMargin = 2048;
    bool m_showsWindow = false;
    qsizetype m_start = 0;
    qsizetype m_length = 0;
    bool m_updating = false;
    bool m_movePending = false;
    // The window's selection stands for the whole text (see selectWhole).
    bool m_wholeSelected = false;
    // A cut of the whole text: the clipboard gets all of it once the input has cut the window.
    QString m_pendingCut;
    // The whole text before an edit of the whole selection, and after it once undone.
    QString m_undoWhole;
    QString m_redoWhole;
};
