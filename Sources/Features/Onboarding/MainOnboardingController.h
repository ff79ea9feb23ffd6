#pragma once

#include "API/ProjectsService.h"
#include "AppSection.h"
#include "OnboardingEnvironment.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

// The guided tour over the main window: whether it runs, the current step, where each step
// takes the window, the element it lights and the hole cut for it, and the demo-project check
// that runs whenever the tour starts again. The window follows through sectionRequested and
// selectionRequested.
class MainOnboardingController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the main window")

    Q_PROPERTY(int completedVersion READ completedVersion NOTIFY tourPreferencesChanged)
    Q_PROPERTY(int replayRequestNonce READ replayRequestNonce NOTIFY tourPreferencesChanged)
    Q_PROPERTY(bool running READ running NOTIFY tourPreferencesChanged)
    Q_PROPERTY(QString taskKey READ taskKey NOTIFY tourPreferencesChanged)
    Q_PROPERTY(int step READ step WRITE setStep NOTIFY stepChanged)
    Q_PROPERTY(bool hasDemoProject READ hasDemoProject NOTIFY demoProjectIdChanged)
    Q_PROPERTY(QString demoProjectId READ demoProjectIdText NOTIFY demoProjectIdChanged)
    // Key of the element lit now (see OnboardingHighlightTarget), empty for none.
    Q_PROPERTY(QString currentHighlight READ currentHighlight NOTIFY currentHighlightChanged)
    // The reports of lit elements below the window's content.
    Q_PROPERTY(OnboardingEnvironment *frameSource READ frameSource WRITE setFrameSource NOTIFY frameSourceChanged)
    Q_PROPERTY(bool hasHighlightRect READ hasHighlightRect NOTIFY highlightRectChanged)
    Q_PROPERTY(QRectF highlightRect READ highlightRectOrEmpty NOTIFY highlightRectChanged)

public:
    explicit MainOnboardingController(QObject *parent = nullptr);
    ~MainOnboardingController() override;

    int completedVersion() const { return m_completedVersion; }
    int replayRequestNonce() const { return m_replayNonce; }
    bool running() const;
    // "true"/"false", the completed version and the replay counter: the demo check runs again
    // whenever it changes.
    QString taskKey() const;
    int step() const { return m_step; }
    void setStep(int step);
    const std::optional<QString> &demoProjectId() const { return m_demoProjectId; }
    bool hasDemoProject() const { return m_demoProjectId.has_value(); }
    QString demoProjectIdText() const { return m_demoProjectId.value_or(QString()); }
    QString currentHighlight() const { return m_currentHighlight; }
    OnboardingEnvironment *frameSource() const;
    void setFrameSource(OnboardingEnvironment *source);
    // The frame reported for the lit element; none when nothing is lit or it reported no frame.
    std::optional<QRectF> highlightRect() const;
    bool hasHighlightRect() const { return highlightRect().has_value(); }
    QRectF highlightRectOrEmpty() const { return highlightRect().value_or(QRectF()); }

    // Ends the tour for the life of this window without storing it as finished: the next start,
    // or a replay from the settings, shows it again.
    Q_INVOKABLE void closeForRun();

    // Moves the window to a step: its section, and the demo project opened or nothing selected.
    Q_INVOKABLE void applyGuidedNavigation(int step);

    // Starts the demo check with the window's service; later key changes restart it.
    void start(std::shared_ptr<ProjectsService> service);

Q_SIGNALS:
    void tourPreferencesChanged();
    void stepChanged();
    void demoProjectIdChanged();
    void currentHighlightChanged();
    void frameSourceChanged();
    void highlightRectChanged();
    void sectionRequested(AppSection section);
    // An empty identity clears the selection.
    void selectionRequested(const QString &projectId);
    // The demo check ended, or was not needed (for tests and the bench).
    void taskFinished();

private:
    void onPreferenceChanged(const QString &key);
    void setDemoProjectId(const std::optional<QString> &id);
    void updateHighlight();
    void restartTaskIfKeyChanged();
    // The step itself when it lights something, else the nearest one that does, looking first
    // the way the tour moves; once the demo check has ended (before, the target may yet come).
    // Only the first step can lack its target: when no demo project could be made.
    int stepWithTarget(int step) const;
    bool hasTarget(int step) const;
    void startTask();
    static QCoro::Task<> demoCheckTask(QPointer<MainOnboardingController> self,
                                       std::shared_ptr<ProjectsService> service, quint64 generation);

    std::shared_ptr<ProjectsService> m_service;
    bool m_started = false;
    int m_completedVersion = 0;
    int m_replayNonce = 0;
    bool m_closedForRun = false;
    bool m_demoChecked = false;
    int m_step = 0;
    std::optional<QString> m_demoProjectId;
    QString m_currentHighlight;
    QPointer<OnboardingEnvironment> m_frameSource;
    QMetaObject::Connection m_frameLink;
    QString m_taskKey;
    quint64 m_taskGeneration = 0;
};
