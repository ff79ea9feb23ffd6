#pragma once

#include "ProjectEditorViewModel.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <functional>

// Stands between the open editor and a step that would take it away (another project, another
// section, a closing window): with unsaved edits the step waits for the answer to
// "Сохранить изменения?"; "Сохранить" runs it once the save has stored the project, "Не сохранять"
// runs it at once, "Отмена" drops it. A window closing while a save runs, or while other work of
// the window that must not be cut short runs (a move of device projects into the account), waits
// for it, and says so: the person may stop waiting (the edits not stored yet are then asked
// about) or keep the window. A work that ends while a button of that question is held down waits
// for the answer: "Отмена" keeps the window even then.
// A close always ends in something the person sees: the window goes, or the question or the wait
// is up. Asked again while one is pending, it shows that one again; an editor that goes while a
// close is pending has the close asked anew about what is left.
class UnsavedEditsGuard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the main window")
    // The editor on screen, or null.
    Q_PROPERTY(ProjectEditorViewModel *editor READ editor WRITE setEditor NOTIFY editorChanged)
    // The question is up.
    Q_PROPERTY(bool isAsking READ isAsking NOTIFY isAskingChanged)
    // The window waits for the running save, or the other work, before it closes.
    Q_PROPERTY(bool isWaitingToClose READ isWaitingToClose NOTIFY isWaitingToCloseChanged)
    // What it waits (or waited last) for: the save (true) or the other work.
    Q_PROPERTY(bool isWaitingForSave READ isWaitingForSave NOTIFY isWaitingToCloseChanged)

public:
    using Step = std::function<void()>;

    explicit UnsavedEditsGuard(QObject *parent = nullptr);

    ProjectEditorViewModel *editor() const { return m_editor; }
    void setEditor(ProjectEditorViewModel *editor);
    bool isAsking() const { return m_isAsking; }
    bool isWaitingToClose() const { return m_isWaitingToClose; }
    bool isWaitingForSave() const { return m_waitsForSave; }
    bool hasUnsavedEdits() const;

    // The other work a closing window waits for: whether it runs, and its end.
    template<typename Work>
    void setCloseAwaits(Work *work, bool (Work::*running)() const, void (Work::*ended)())
    {
        m_workRuns = [work = QPointer<Work>(work), running] { return work && (work->*running)(); };
        connect(work, ended, this, &UnsavedEditsGuard::workEnded);
    }

    // Runs step now and returns true when nothing would be lost; otherwise keeps it (in place of
    // any step kept before, unless that one closes the window), asks, and returns false.
    bool request(Step step);
    // The window asks to close: true when it may close now. Otherwise the window stays open with
    // the question or the wait shown; closeApproved() tells it when it may close after all, and
    // lets the next ask through once.
    Q_INVOKABLE bool requestClose();

    // The answers.
    Q_INVOKABLE void save();
    Q_INVOKABLE void discard();
    Q_INVOKABLE void cancel();
    // While the window waits: close without waiting (what the save has not stored yet is asked
    // about as any unsaved edits), or stay open and let the work go on.
    Q_INVOKABLE void closeWithoutWaiting();
    Q_INVOKABLE void stayOpen();
    // A button of the waiting question is pressed (true) or let go (false).
    Q_INVOKABLE void holdAnswer(bool held);

Q_SIGNALS:
    void editorChanged();
    void isAskingChanged();
    void isWaitingToCloseChanged();
    void closeApproved();
    // The question or the wait that holds a close is to be shown, if it is not.
    void presentRequested();

private:
    void replaceEditor(ProjectEditorViewModel *editor);
    void setAsking(bool asking);
    void setWaitingToClose(bool waiting, bool forSave = true);
    // The window waits for the other work now (the kind of an ended wait stays in m_waitsForSave).
    bool waitsForWork() const { return m_isWaitingToClose && !m_waitsForSave; }
    bool isSaving() const;
    bool closePending() const;
    // request() for a step that may close the window.
    bool ask(Step step, bool closes);
    // Calls then(stored) when the editor's running save has finished; until then the window
    // shows that it waits, when the step closes it.
    void afterSave(std::function<void(bool stored)> then, bool closes);
    // The wait is over: then() runs, unless a button of the question is held; then on its release.
    void endWait(std::function<void()> then);
    void workEnded();
    // The close asked again, once what held it is over.
    void closeAgain();
    void approveClose();
    // Forgets the end of the wait kept for a held answer.
    void dropHeldEnd();

    QPointer<ProjectEditorViewModel> m_editor;
    QMetaObject::Connection m_editorGone;
    std::function<bool()> m_workRuns;
    Step m_pending;
    // The step asked about closes the window.
    bool m_pendingCloses = false;
    QMetaObject::Connection m_waiting;
    bool m_isAsking = false;
    bool m_isWaitingToClose = false;
    bool m_waitsForSave = true;
    // Lets the window's next close through; taken by it.
    bool m_closeApproved = false;
    bool m_answerHeld = false;
    // The end of the wait, kept while an answer is held; run once it is let go, unless answered.
    std::function<void()> m_heldEnd;
    // Counts the kept ends, so that a later one's run skips an earlier one.
    int m_heldEndNumber = 0;
};
