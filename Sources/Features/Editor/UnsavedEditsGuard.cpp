#include "UnsavedEditsGuard.h"

UnsavedEditsGuard::UnsavedEditsGuard(QObject *parent)
    : QObject(parent)
{
}

void UnsavedEditsGuard::setEditor(ProjectEditorViewModel *editor)
{
    if (m_editor == editor)
        return;
    replaceEditor(editor);
}

void UnsavedEditsGuard::replaceEditor(ProjectEditorViewModel *editor)
{
    const bool closing = m_isAsking ? m_pendingCloses : m_isWaitingToClose && m_waitsForSave;
    // A step waiting for the old editor's save or for an answer about its edits is void; a wait
    // for other work goes on.
    if (!waitsForWork()) {
        disconnect(m_waiting);
        dropHeldEnd();
        setWaitingToClose(false);
    }
    m_pending = {};
    m_pendingCloses = false;
    setAsking(false);
    disconnect(m_editorGone);
    m_editor = editor;
    // Gone without a word (its screen torn down first): as if replaced by none.
    if (editor)
        m_editorGone = connect(editor, &QObject::destroyed, this, [this] { replaceEditor(nullptr); });
    Q_EMIT editorChanged();
    // The person asked to close: what is left is asked about, once the new editor is in place.
    if (closing)
        QMetaObject::invokeMethod(this, &UnsavedEditsGuard::closeAgain, Qt::QueuedConnection);
}

bool UnsavedEditsGuard::hasUnsavedEdits() const
{
    return m_editor && m_editor->isDirty();
}

bool UnsavedEditsGuard::isSaving() const
{
    return m_editor && m_editor->saveState().kind == EditorSaveState::Kind::Saving;
}

bool UnsavedEditsGuard::closePending() const
{
    return m_isWaitingToClose || (m_isAsking && m_pendingCloses);
}

bool UnsavedEditsGuard::request(Step step)
{
    // The close asked about stays: it is what the person asked for last.
    if (closePending()) {
        Q_EMIT presentRequested();
        return false;
    }
    return ask(std::move(step), false);
}

bool UnsavedEditsGuard::ask(Step step, bool closes)
{
    if (!hasUnsavedEdits()) {
        step();
        return true;
    }
    m_pending = std::move(step);
    m_pendingCloses = closes;
    setAsking(true);
    Q_EMIT presentRequested();
    return false;
}

bool UnsavedEditsGuard::requestClose()
{
    if (std::exchange(m_closeApproved, false))
        return true;
    // Asked again (a second close, an end signal) while it waits or asks: it goes on, in sight.
    if (closePending()) {
        Q_EMIT presentRequested();
        return false;
    }
    if (m_workRuns && m_workRuns()) {
        disconnect(m_waiting);
        dropHeldEnd();
        setWaitingToClose(true, false);
        Q_EMIT presentRequested();
        return false;
    }
    if (isSaving()) {
        // The save goes on; once it stored everything the window closes, else the edits left
        // are asked about.
        afterSave([this](bool) { closeAgain(); }, true);
        Q_EMIT presentRequested();
        return false;
    }
    // Nothing to lose: the window closes on this request, with no approval to follow.
    if (!hasUnsavedEdits())
        return true;
    ask([this] { approveClose(); }, true);
    return false;
}

void UnsavedEditsGuard::closeAgain()
{
    if (requestClose())
        approveClose();
}

void UnsavedEditsGuard::approveClose()
{
    m_closeApproved = true;
    Q_EMIT closeApproved();
}

void UnsavedEditsGuard::save()
{
    setAsking(false);
    Step step = std::exchange(m_pending, {});
    const bool closes = std::exchange(m_pendingCloses, false);
    if (!m_editor || !step)
        return;
    // A failed save leaves the editor as it is, its error shown; edits made while it ran are
    // asked about again.
    afterSave(
        [this, step, closes](bool stored) {
            if (stored)
                ask(step, closes);
        },
        false);
    m_editor->save();
    // Shown only for a save that goes on: one refused at once has already told its outcome.
    if (closes && isSaving())
        setWaitingToClose(true);
}

void UnsavedEditsGuard::afterSave(std::function<void(bool stored)> then, bool closes)
{
    disconnect(m_waiting);
    // A save that does not close leaves a wait for other work as it is, and that wait's end.
    const bool besideWork = !closes && waitsForWork();
    if (!besideWork)
        dropHeldEnd();
    m_waiting = connect(m_editor, &ProjectEditorViewModel::finished, this, [this, then, besideWork](bool stored) {
        disconnect(m_waiting);
        if (besideWork && waitsForWork())
            then(stored);
        else
            endWait([then, stored] { then(stored); });
    });
    if (!besideWork)
        setWaitingToClose(closes);
}

void UnsavedEditsGuard::workEnded()
{
    if (waitsForWork())
        endWait([this] { closeAgain(); });
}

void UnsavedEditsGuard::endWait(std::function<void()> then)
{
    // A person pressing a button of the question meanwhile decides on the release.
    if (m_isWaitingToClose && m_answerHeld) {
        m_heldEnd = std::move(then);
        return;
    }
    setWaitingToClose(false);
    then();
}

void UnsavedEditsGuard::holdAnswer(bool held)
{
    m_answerHeld = held;
    if (held || !m_heldEnd)
        return;
    // After the release's click, whose answer (if any) drops what was kept.
    QMetaObject::invokeMethod(
        this,
        [this, number = m_heldEndNumber] {
            if (number != m_heldEndNumber || !m_heldEnd)
                return;
            const std::function<void()> end = std::exchange(m_heldEnd, {});
            setWaitingToClose(false);
            end();
        },
        Qt::QueuedConnection);
}

void UnsavedEditsGuard::dropHeldEnd()
{
    m_heldEnd = {};
    ++m_heldEndNumber;
}

void UnsavedEditsGuard::closeWithoutWaiting()
{
    if (!m_isWaitingToClose)
        return;
    disconnect(m_waiting);
    dropHeldEnd();
    setWaitingToClose(false);
    // What the save has not stored yet counts as unsaved.
    if (!hasUnsavedEdits()) {
        approveClose();
        return;
    }
    ask([this] { approveClose(); }, true);
}

void UnsavedEditsGuard::stayOpen()
{
    disconnect(m_waiting);
    dropHeldEnd();
    setWaitingToClose(false);
}

void UnsavedEditsGuard::discard()
{
    setAsking(false);
    m_pendingCloses = false;
    if (Step step = std::exchange(m_pending, {}))
        step();
}

void UnsavedEditsGuard::cancel()
{
    setAsking(false);
    m_pending = {};
    m_pendingCloses = false;
}

void UnsavedEditsGuard::setAsking(bool asking)
{
    if (m_isAsking == asking)
        return;
    m_isAsking = asking;
    Q_EMIT isAskingChanged();
}

void UnsavedEditsGuard::setWaitingToClose(bool waiting, bool forSave)
{
    // The kind of a wait that ends stays, so that its question keeps its words as it goes.
    if (!waiting)
        forSave = m_waitsForSave;
    if (m_isWaitingToClose == waiting && m_waitsForSave == forSave)
        return;
    m_isWaitingToClose = waiting;
    m_waitsForSave = forSave;
    Q_EMIT isWaitingToCloseChanged();
}
