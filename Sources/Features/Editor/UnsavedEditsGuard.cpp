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
    m_pending = {};
    setAsking(false);
    m_editor = editor;
    Q_EMIT editorChanged();
}

bool UnsavedEditsGuard::hasUnsavedEdits() const
{
    return m_editor && m_editor->isDirty();
}

bool UnsavedEditsGuard::request(Step step)
{
    if (!hasUnsavedEdits()) {
        step();
        return true;
    }
    m_pending = std::move(step);
    setAsking(true);
    return false;
}

bool UnsavedEditsGuard::requestClose()
{
    if (m_closeApproved)
        return true;
    if (m_editor && m_editor->saveState().kind == EditorSaveState::Kind::Saving) {
        // The save goes on; once it stored everything the window closes, else the edits left
        // are asked about.
        disconnect(m_waiting);
        m_waiting = connect(m_editor, &ProjectEditorViewModel::finished, this, [this] {
            disconnect(m_waiting);
            if (requestClose())
                approveClose();
        });
        return false;
    }
    // Nothing to lose: the window closes on this request, with no approval to follow.
    if (!hasUnsavedEdits())
        return true;
    request([this] { approveClose(); });
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
    if (!m_editor || !step)
        return;
    afterSave(std::move(step));
    m_editor->save();
}

void UnsavedEditsGuard::afterSave(Step step)
{
    disconnect(m_waiting);
    m_waiting = connect(m_editor, &ProjectEditorViewModel::finished, this, [this, step](bool stored) {
        disconnect(m_waiting);
        // A failed save leaves the editor as it is, its error shown; edits made while it ran
        // are asked about again.
        if (stored)
            request(step);
    });
}

void UnsavedEditsGuard::discard()
{
    setAsking(false);
    if (Step step = std::exchange(m_pending, {}))
        step();
}

void UnsavedEditsGuard::cancel()
{
    setAsking(false);
    m_pending = {};
}

void UnsavedEditsGuard::setAsking(bool asking)
{
    if (m_isAsking == asking)
        return;
    m_isAsking = asking;
    Q_EMIT isAskingChanged();
}
