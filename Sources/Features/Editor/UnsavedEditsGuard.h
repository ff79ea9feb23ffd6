#pragma once

#include "ProjectEditorViewModel.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <functional>

// Stands between the open editor and a step that would take it away (another project, another
// section, a closing window): with unsaved edits the step waits for the answer to
// "Сохранить изменения?"; "Сохранить" runs it once the save has stored the project, "Не сохранять"
// runs it at once, "Отмена" drops it. A window closing while a save runs waits for that save,
// and says so: the person may stop waiting (the edits not stored yet are then asked about) or keep
// the window. A save that ends while a button of that question is held down waits for the answer:
// "Отмена" keeps the window even then.
class UnsavedEditsGuard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the main window")
    // The editor on screen, or null.
    Q_PROPERTY(ProjectEditorViewModel *editor READ editor WRITE setEditor NOTIFY editorChanged)
    // The question is up.
    Q_PROPERTY(bool isAsking READ isAsking NOTIFY isAskingChanged)
    // The window waits for the running save before it closes.
    Q_PROPERTY(bool isWaitingToClose READ isWaitingToClose NOTIFY isWaitingToCloseChanged)

public:
    using Step = std::function<void()>;

    explicit UnsavedEditsGuard(QObject *parent = nullptr);

    ProjectEditorViewModel *editor() const { return m_editor; }
    void setEditor(ProjectEditorViewModel *editor);
    bool isAsking() const { return m_isAsking; }
    bool isWaitingToClose() const { return m_isWaitingToClose; }
    bool hasUnsavedEdits() const;

    // Runs step now and returns true when nothing would be lost; otherwise keeps it (in place of
    // any step kept before), asks, and returns false.
    bool request(Step step);
    // The window asks to close: true when it may close now. Otherwise the window stays open;
    // closeApproved() tells it when it may close after all.
    Q_INVOKABLE bool requestClose();

    // The answers.
    Q_INVOKABLE void save();
    Q_INVOKABLE void discard();
    Q_INVOKABLE void cancel();
    // While the window waits for a save: close without it (what it has not stored yet is asked
    // about as any unsaved edits), or stay open and let the save go on.
    Q_INVOKABLE void closeWithoutWaiting();
    Q_INVOKABLE void stayOpen();
    // A button of the waiting question is pressed (true) or let go (false).
    Q_INVOKABLE void holdAnswer(bool held);

Q_SIGNALS:
    void editorChanged();
    void isAskingChanged();
    void isWaitingToCloseChanged();
    void closeApproved();

private:
    void setAsking(bool asking);
    void setWaitingToClose(bool waiting);
    bool isSaving() const;
    // request() for a step that may close the window.
    bool ask(Step step, bool closes);
    // Calls then(stored) when the editor's running save has finished; until then the window
    // shows that it waits, when the step closes it.
    void afterSave(std::function<void(bool stored)> then, bool closes);
    void approveClose();
    // Forgets the end of the save kept for a held answer.
    void dropHeldEnd();

    QPointer<ProjectEditorViewModel> m_editor;
    Step m_pending;
    // The step asked about closes the window.
    bool m_pendingCloses = false;
    QMetaObject::Connection m_waiting;
    bool m_isAsking = false;
    bool m_isWaitingToClose = false;
    bool m_closeApproved = false;
    bool m_answerHeld = false;
    // The end of the save, kept while an answer is held; run once it is let go, unless answered.
    std::function<void()> m_heldEnd;
    // Counts the kept ends, so that a later one's run skips an earlier one.
    int m_heldEndNumber = 0;
};
