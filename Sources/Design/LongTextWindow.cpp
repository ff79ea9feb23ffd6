#include "LongTextWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QtQuick/private/qquicktextinput_p.h>
#include <algorithm>
#include <climits>
#include <utility>

namespace {

// The keys a text input carries out to an end of its text, and those that select up to one.
bool matchesAny(const QKeyEvent &key, std::initializer_list<QKeySequence::StandardKey> sequences)
{
    return std::any_of(sequences.begin(), sequences.end(), [&key](auto sequence) { return key.matches(sequence); });
}

} // namespace

LongTextWindow::LongTextWindow(QObject *parent)
    : QObject(parent)
{
}

QObject *LongTextWindow::input() const
{
    return m_input;
}

void LongTextWindow::setInput(QObject *input)
{
    auto *textInput = qobject_cast<QQuickTextInput *>(input);
    if (m_input == textInput)
        return;
    if (m_input) {
        m_input->removeEventFilter(this);
        disconnect(m_input, nullptr, this, nullptr);
    }
    m_input = textInput;
    m_showsWindow = false;
    if (m_input) {
        m_input->installEventFilter(this);
        connect(m_input, &QQuickItem::activeFocusChanged, this, &LongTextWindow::refresh);
        connect(m_input, &QQuickTextInput::cursorPositionChanged, this, &LongTextWindow::followCaret);
        connect(m_input, &QQuickTextInput::selectionStartChanged, this, &LongTextWindow::followCaret);
        connect(m_input, &QQuickTextInput::selectionEndChanged, this, &LongTextWindow::followCaret);
    }
    Q_EMIT inputChanged();
    refresh();
}

void LongTextWindow::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    m_showsWindow = false;
    Q_EMIT activeChanged();
    refresh();
}

void LongTextWindow::setValue(const QString &value)
{
    // Megabytes compare in a millisecond or two, and mostly not at all: an edit comes back as the
    // very text takeEdit() made, and a longer or shorter one differs at once.
    if (m_value == value)
        return;
    m_value = value;
    Q_EMIT valueChanged();
    if (m_text == value)
        return;
    if (!m_showsWindow) {
        setText(value);
        return;
    }
    // Another text while the field is edited: shown around the same place.
    const qsizetype caretAt = std::min(caret(), value.size());
    const qsizetype anchorAt = std::min(anchor(), value.size());
    setText(value);
    showWindow(std::min(caretAt, anchorAt), std::max(caretAt, anchorAt), caretAt, anchorAt);
}

void LongTextWindow::setWindowSize(int size)
{
    size = std::max(size, 1);
    if (m_windowSize == size)
        return;
    m_windowSize = size;
    Q_EMIT windowChanged();
}

void LongTextWindow::setWindowMargin(int margin)
{
    margin = std::max(margin, 0);
    if (m_windowMargin == margin)
        return;
    m_windowMargin = margin;
    Q_EMIT windowChanged();
}

void LongTextWindow::setIdleText(const QString &idleText)
{
    if (m_idleText == idleText)
        return;
    m_idleText = idleText;
    Q_EMIT idleTextChanged();
    if (!m_showsWindow)
        refresh();
}

void LongTextWindow::setText(const QString &text)
{
    if (m_text.constData() == text.constData() && m_text.size() == text.size())
        return;
    m_text = text;
    Q_EMIT textChanged();
}

void LongTextWindow::refresh()
{
    if (!m_active || !m_input) {
        m_showsWindow = false;
        return;
    }
    // A text input cuts a text at 32,767 characters by default, and an edit would store the cut.
    // (Set before the text: a new limit sets the text again, the caret to its end.)
    if (m_input->maxLength() != INT_MAX)
        m_input->setMaxLength(INT_MAX);
    if (m_input->hasActiveFocus()) {
        if (m_showsWindow)
            return;
        // The idle text begins as the value does: the caret keeps its place, so that a click puts
        // it where it points. Selected whole (the focus came by the keyboard), it stays so.
        const bool whole = !m_input->text().isEmpty() && m_input->selectionStart() == 0
            && m_input->selectionEnd() == m_input->text().size();
        setText(m_value);
        const qsizetype at = std::min(qsizetype(m_input->cursorPosition()), m_text.size());
        showWindow(at, at, at, at);
        if (whole)
            selectWhole();
        return;
    }
    m_showsWindow = false;
    m_wholeSelected = false;
    m_undoWhole.clear();
    m_redoWhole.clear();
    m_pendingCut.clear();
    setText(m_value);
    if (m_input->text() != m_idleText) {
        m_updating = true;
        m_input->setText(m_idleText);
        m_input->setCursorPosition(0);
        m_updating = false;
    }
    Q_EMIT windowChanged();
}

qsizetype LongTextWindow::caret() const
{
    return m_start + m_input->cursorPosition();
}

qsizetype LongTextWindow::anchor() const
{
    const int at = m_input->cursorPosition();
    const int start = m_input->selectionStart();
    return m_start + (at == start ? m_input->selectionEnd() : start);
}

void LongTextWindow::showWindow(qsizetype from, qsizetype to, qsizetype caretAt, qsizetype anchorAt)
{
    const qsizetype size = m_text.size();
    const qsizetype half = m_windowSize / 2;
    qsizetype start = std::max<qsizetype>(0, from - half);
    qsizetype end = std::min(size, to + half);
    // As wide near an end as elsewhere.
    if (start == 0)
        end = std::min(size, std::max(end, m_windowSize));
    if (end == size)
        start = std::max<qsizetype>(0, std::min(start, size - m_windowSize));
    // Never between the halves of a surrogate pair.
    if (start > 0 && m_text.at(start).isLowSurrogate())
        --start;
    if (end < size && m_text.at(end).isLowSurrogate())
        ++end;
    m_showsWindow = true;
    m_wholeSelected = false;
    m_start = start;
    m_length = end - start;
    const QString shown = start == 0 && end == size ? m_text : m_text.sliced(start, end - start);
    m_updating = true;
    if (m_input->text() != shown)
        m_input->setText(shown);
    m_input->setCursorPosition(int(anchorAt - start));
    if (caretAt != anchorAt)
        m_input->moveCursorSelection(int(caretAt - start));
    m_updating = false;
    Q_EMIT windowChanged();
}

void LongTextWindow::selectWhole()
{
    if (m_start != 0 || m_length != m_text.size())
        showWindow(0, 0, 0, 0);
    m_updating = true;
    m_input->select(0, int(m_length));
    m_updating = false;
    m_wholeSelected = m_length < m_text.size();
}

bool LongTextWindow::selectionCoversWindow() const
{
    return m_length > 0 && m_input->selectionStart() == 0 && m_input->selectionEnd() == m_length;
}

void LongTextWindow::followCaret()
{
    if (!m_showsWindow || m_updating || m_movePending || !m_input)
        return;
    m_movePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_movePending = false;
            moveWindowIfNeeded();
        },
        Qt::QueuedConnection);
}

void LongTextWindow::moveWindowIfNeeded()
{
    if (!m_showsWindow || !m_input || !m_input->hasActiveFocus())
        return;
    const qsizetype size = m_text.size();
    const qsizetype end = m_start + m_length;
    const qsizetype caretAt = caret();
    const qsizetype anchorAt = anchor();
    const qsizetype low = std::min(caretAt, anchorAt);
    const qsizetype high = std::max(caretAt, anchorAt);
    const bool whole = m_start == 0 && end == size;
    if (m_wholeSelected) {
        if (selectionCoversWindow())
            return;
        // A click or a drag chose another stretch of the first window.
        m_wholeSelected = false;
    } else if (!whole && low == m_start && high == end && high > low) {
        // Everything the input holds selected (by selectAll(), say) is everything selected.
        selectWhole();
        return;
    }
    const bool nearStart = m_start > 0 && low - m_start < m_windowMargin;
    const bool nearEnd = end < size && end - high < m_windowMargin;
    // Back to a window once a text taken whole (or pasted long) is no longer selected across.
    const bool tooWide = m_length > 2 * m_windowSize && high - low <= m_windowSize;
    if (nearStart || nearEnd || tooWide)
        showWindow(low, high, caretAt, anchorAt);
}

void LongTextWindow::takeEdit()
{
    if (!m_active || !m_showsWindow || !m_input)
        return;
    const QString shown = m_input->text();
    if (m_wholeSelected) {
        // The edit replaced the selection, which stood for the whole text. The input could undo
        // it only as far as the window it held: that undo is ours (see undoWhole), and the input
        // starts a history of its own.
        m_wholeSelected = false;
        if (!m_pendingCut.isEmpty())
            QGuiApplication::clipboard()->setText(std::exchange(m_pendingCut, QString()));
        m_undoWhole = m_text;
        m_redoWhole.clear();
        m_start = 0;
        m_length = shown.size();
        setText(shown);
        const int at = m_input->cursorPosition();
        m_updating = true;
        m_input->setText(QString());
        m_input->setText(shown);
        m_input->setCursorPosition(at);
        m_updating = false;
    } else if (m_start == 0 && m_length == m_text.size()) {
        m_length = shown.size();
        setText(shown);
    } else {
        const QStringView whole(m_text);
        QString edited;
        edited.reserve(m_text.size() - m_length + shown.size());
        edited.append(whole.first(m_start));
        edited.append(shown);
        edited.append(whole.sliced(m_start + m_length));
        m_length = shown.size();
        setText(edited);
    }
    followCaret();
}

bool LongTextWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_input && event->type() == QEvent::KeyPress && m_showsWindow && m_active)
        return takeKey(*static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

bool LongTextWindow::takeKey(const QKeyEvent &key)
{
    using Key = QKeySequence::StandardKey;
    if (!m_undoWhole.isEmpty() && key.matches(Key::Undo)) {
        m_redoWhole = m_text;
        setText(std::exchange(m_undoWhole, QString()));
        selectWhole();
        Q_EMIT edited();
        return true;
    }
    if (!m_redoWhole.isEmpty() && key.matches(Key::Redo)) {
        m_undoWhole = m_text;
        setText(std::exchange(m_redoWhole, QString()));
        showWindow(m_text.size(), m_text.size(), m_text.size(), m_text.size());
        Q_EMIT edited();
        return true;
    }
    const qsizetype size = m_text.size();
    if (m_wholeSelected && selectionCoversWindow()) {
        if (key.matches(Key::Copy)) {
            QGuiApplication::clipboard()->setText(m_text);
            return true;
        }
        if (key.matches(Key::Cut))
            m_pendingCut = m_text;
        else
            m_pendingCut.clear();
        // A move leaves the selection at the end it goes to, as it would in the whole text.
        if (matchesAny(key,
                       {Key::MoveToNextChar, Key::MoveToNextWord, Key::MoveToEndOfLine, Key::MoveToEndOfBlock,
                        Key::MoveToNextLine, Key::MoveToEndOfDocument})) {
            showWindow(size, size, size, size);
            return true;
        }
        if (matchesAny(key,
                       {Key::MoveToPreviousChar, Key::MoveToPreviousWord, Key::MoveToStartOfLine,
                        Key::MoveToStartOfBlock, Key::MoveToPreviousLine, Key::MoveToStartOfDocument})) {
            showWindow(0, 0, 0, 0);
            return true;
        }
        if (matchesAny(key, {Key::SelectAll}))
            return true;
        // A selection grown or shrunk from the whole text's ends needs all of it.
        if (matchesAny(key,
                       {Key::SelectNextChar, Key::SelectPreviousChar, Key::SelectNextWord, Key::SelectPreviousWord,
                        Key::SelectStartOfLine, Key::SelectEndOfLine, Key::SelectStartOfBlock, Key::SelectEndOfBlock,
                        Key::SelectNextLine, Key::SelectPreviousLine, Key::SelectStartOfDocument,
                        Key::SelectEndOfDocument}))
            showWindow(0, size, size, 0);
        return false;
    }
    const bool fromStart = m_start == 0;
    const bool toEnd = m_start + m_length == size;
    if (fromStart && toEnd)
        return false;
    const qsizetype caretAt = caret();
    const qsizetype anchorAt = anchor();
    // Moves to an end: the window at that end, the caret there.
    if (matchesAny(key, {Key::MoveToStartOfLine, Key::MoveToStartOfBlock})) {
        if (fromStart)
            return false;
        showWindow(0, 0, 0, 0);
        return true;
    }
    if (matchesAny(key, {Key::MoveToEndOfLine, Key::MoveToEndOfBlock})) {
        if (toEnd)
            return false;
        showWindow(size, size, size, size);
        return true;
    }
    // Selections and deletions up to an end: the input gets everything up to that end first and
    // carries the key out itself.
    if (matchesAny(key, {Key::SelectStartOfLine, Key::SelectStartOfBlock})) {
        if (!fromStart)
            showWindow(0, std::max(caretAt, anchorAt), caretAt, anchorAt);
        return false;
    }
    if (matchesAny(key, {Key::SelectEndOfLine, Key::SelectEndOfBlock, Key::DeleteEndOfLine})) {
        if (!toEnd)
            showWindow(std::min(caretAt, anchorAt), size, caretAt, anchorAt);
        return false;
    }
    if (key.matches(Key::SelectAll)) {
        selectWhole();
        return true;
    }
    if (key.matches(Key::DeleteCompleteLine)) {
        showWindow(0, size, caretAt, anchorAt);
        return false;
    }
    return false;
}
