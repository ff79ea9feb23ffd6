#include "UnsavedEditsGuard.h"

UnsavedEditsGuard::UnsavedEditsGuard(QObject *parent)
    : QObject(parent)
{
}

void UnsavedEditsGuard::setEditor(ProjectEditorViewModel *editor)
{
    if (m_editor == editor)
        return;
    // A step waiting for the old editor's save or for an answer about its edits is void.
    disconnect(m_waiting);
    dropHeldEnd();
    m_pending = {};
    m_pendingCloses = false;
    setAsking(false);
    setWaitingToClose(false);
    m_editor = editor;
    Q_EMIT editorChanged();
}

bool UnsavedEditsGuard::hasUnsavedEdits() const
{
    return m_editor && m_editor->isDirty();
}

bool UnsavedEditsGuard::isSaving() const
{
    return m_editor && m_editor->saveState().kind == EditorSaveState::Kind::Saving;
}

bool UnsavedEditsGuard::request(Step step)
{
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
    return false;
}

bool UnsavedEditsGuard::requestClose()
{
    if (m_closeApproved)
        return true;
    // Asked again (a second close, an end signal) while it waits: it goes on waiting.
    if (m_isWaitingToClose)
        return false;
    if (isSaving()) {
        // The save goes on; once it stored everything the window closes, else the edits left
        // are asked about.
        afterSave(
            [this](bool) {
                if (requestClose())
                    approveClose();
            },
            true);
        return false;
    }
    // Nothing to lose: the window closes on this request, with no approval to follow.
    if (!hasUnsavedEdits())
        return true;
    ask([this] { approveClose(); }, true);
    return false;
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
    dropHeldEnd();
    m_waiting = connect(m_editor, &ProjectEditorViewModel::finished, this, [this, then](bool stored) {
        disconnect(m_waiting);
        // A person pressing a button of the question meanwhile decides on the release.
        if (m_isWaitingToClose && m_answerHeld) {
            m_heldEnd = [then, stored] { then(stored); };
            return;
        }
        setWaitingToClose(false);
        then(stored);
    });
    setWaitingToClose(closes);
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

void UnsavedEditsGuard::setWaitingToClose(bool waiting)
{
    if (m_isWaitingToClose == waiting)
        return;
    m_isWaitingToClose = waiting;
    Q_EMIT isWaitingToCloseChanged();
}
