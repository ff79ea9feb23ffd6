#pragma once

#include "API/ProjectsService.h"
#include "AppSection.h"
#include "Auth/AuthService.h"
#include "Models/Project.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QRectF>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>
#include <optional>


// The main window's state: sections, selections and hand-offs between them, column widths, the
// guided tour's navigation and the offer to move device projects into the account.
class MainShellViewModel : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)

    Q_PROPERTY(AuthService *auth READ auth WRITE setAuth NOTIFY authChanged)
    Q_PROPERTY(bool isGuest READ isGuest WRITE setGuest NOTIFY isGuestChanged)
    // Made when the shell starts, once its mode is known.
    Q_PROPERTY(ProjectsService *projectsService READ currentProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(qreal width READ width WRITE setWidth NOTIFY widthChanged)
    Q_PROPERTY(bool isCompact READ isCompact WRITE setCompact NOTIFY isCompactChanged)

    Q_PROPERTY(QString mainSection READ mainSection WRITE setMainSection NOTIFY mainSectionChanged)
    Q_PROPERTY(QString selectedProjectId READ selectedProjectId WRITE setSelectedProjectId NOTIFY selectedProjectIdChanged)
    Q_PROPERTY(QString selectedFinanceProjectId READ selectedFinanceProjectId WRITE setSelectedFinanceProjectId
                   NOTIFY selectedFinanceProjectIdChanged)
    Q_PROPERTY(QVariant selectedAnalyticsRow READ selectedAnalyticsRow WRITE setSelectedAnalyticsRow
                   NOTIFY selectedAnalyticsRowChanged)
    Q_PROPERTY(bool hasFinanceProject READ hasFinanceProject NOTIFY financeProjectChanged)
    Q_PROPERTY(QString financeProjectId READ financeProjectId NOTIFY financeProjectChanged)
    Q_PROPERTY(QString financeProjectName READ financeProjectName NOTIFY financeProjectChanged)
    Q_PROPERTY(QString financeProjectCurrency READ financeProjectCurrency NOTIFY financeProjectChanged)

    Q_PROPERTY(qreal sidebarMinWidth READ sidebarMinWidth NOTIFY widthChanged)
    Q_PROPERTY(qreal sidebarIdealWidth READ sidebarIdealWidth NOTIFY widthChanged)
    Q_PROPERTY(qreal sidebarMaxWidth READ sidebarMaxWidth NOTIFY widthChanged)
    Q_PROPERTY(qreal contentMinWidth READ contentMinWidth NOTIFY widthChanged)
    Q_PROPERTY(qreal detailMinWidth READ detailMinWidth NOTIFY widthChanged)
    Q_PROPERTY(qreal placeholderPadding READ placeholderPadding NOTIFY isCompactChanged)
    // Negative when the placeholder's column is not capped.
    Q_PROPERTY(qreal placeholderMaxWidth READ placeholderMaxWidth NOTIFY widthChanged)

    Q_PROPERTY(int mainOnboardingCompletedVersion READ mainOnboardingCompletedVersion NOTIFY tourPreferencesChanged)
    Q_PROPERTY(int onboardingReplayRequestNonce READ onboardingReplayRequestNonce NOTIFY tourPreferencesChanged)
    Q_PROPERTY(bool tourRunning READ tourRunning NOTIFY tourPreferencesChanged)
    Q_PROPERTY(QString tourTaskKey READ tourTaskKey NOTIFY tourPreferencesChanged)
    Q_PROPERTY(int mainOnboardingStep READ mainOnboardingStep WRITE setMainOnboardingStep NOTIFY mainOnboardingStepChanged)
    Q_PROPERTY(QVariant onboardingDemoProjectId READ onboardingDemoProjectIdValue NOTIFY onboardingDemoProjectIdChanged)
    // Key of the element the tour lights now, empty for none.
    Q_PROPERTY(QString currentHighlight READ currentHighlight NOTIFY currentHighlightChanged)
    Q_PROPERTY(QVariantMap highlightFrames READ highlightFrames WRITE setHighlightFrames NOTIFY highlightFramesChanged)
    Q_PROPERTY(QVariant activeHighlightRect READ activeHighlightRectValue NOTIFY activeHighlightRectChanged)

    Q_PROPERTY(bool showMigration READ showMigration NOTIFY showMigrationChanged)
    Q_PROPERTY(bool migrationDismissedThisSession READ migrationDismissedThisSession NOTIFY migrationDismissedChanged)

public:
    explicit MainShellViewModel(QObject *parent = nullptr);

    // Tests and tools give the window projects services of their own (on a test backend).
    using ProjectsServiceFactory = std::function<ProjectsService *(bool isGuest)>;
    static void setProjectsServiceFactory(ProjectsServiceFactory factory);
    ~MainShellViewModel() override;

    void classBegin() override {}
    void componentComplete() override;

    AuthService *auth() const { return m_auth; }
    void setAuth(AuthService *auth);
    bool isGuest() const { return m_isGuest; }
    void setGuest(bool isGuest);
    ProjectsService *projectsService();
    ProjectsService *currentProjectsService() const { return m_projectsService.get(); }
    qreal width() const { return m_width; }
    void setWidth(qreal width);
    bool isCompact() const { return m_isCompact; }
    void setCompact(bool compact);

    QString mainSection() const { return rawValue(m_mainSection); }
    AppSection section() const { return m_mainSection; }
    void setMainSection(const QString &raw);
    void setSection(AppSection section);

    QString selectedProjectId() const { return m_selectedProjectId.value_or(QString()); }
    void setSelectedProjectId(const QString &id);
    QString selectedFinanceProjectId() const { return m_selectedFinanceProjectId.value_or(QString()); }
    void setSelectedFinanceProjectId(const QString &id);
    QVariant selectedAnalyticsRow() const { return m_selectedAnalyticsRow; }
    void setSelectedAnalyticsRow(const QVariant &row);

    std::optional<Project> financeProject() const;
    bool hasFinanceProject() const { return financeProject().has_value(); }
    QString financeProjectId() const;
    QString financeProjectName() const;
    QString financeProjectCurrency() const;
    // An iteration's label, " · " and its name; a root's name alone.
    static QString financeDisplayName(const Project &project);

    qreal sidebarMinWidth() const { return m_width < 900 ? 180 : 200; }
    qreal sidebarIdealWidth() const { return m_width < 900 ? 200 : 220; }
    qreal sidebarMaxWidth() const { return m_width < 900 ? 240 : 260; }
    qreal contentMinWidth() const { return m_width < 1100 ? 300 : 340; }
    qreal detailMinWidth() const { return m_width < 1100 ? 360 : 440; }
    qreal placeholderPadding() const { return m_isCompact ? 20 : 28; }
    qreal placeholderMaxWidth() const;

    // Hand-offs between sections.
    Q_INVOKABLE void openPayments(const QString &projectId);
    Q_INVOKABLE void openPaymentsFromAnalyticsDetail();
    Q_INVOKABLE void projectDeleted();
    Q_INVOKABLE void projectIdChangedByDetail(const QString &projectId);

    int mainOnboardingCompletedVersion() const;
    int onboardingReplayRequestNonce() const;
    bool tourRunning() const;
    QString tourTaskKey() const;
    int mainOnboardingStep() const { return m_mainOnboardingStep; }
    void setMainOnboardingStep(int step);
    std::optional<QString> onboardingDemoProjectId() const { return m_onboardingDemoProjectId; }
    QVariant onboardingDemoProjectIdValue() const;
    QString currentHighlight() const;
    QVariantMap highlightFrames() const { return m_highlightFrames; }
    void setHighlightFrames(const QVariantMap &frames);
    std::optional<QRectF> activeHighlightRect() const;
    QVariant activeHighlightRectValue() const;

    Q_INVOKABLE void applyGuidedNavigation(int step);

    bool showMigration() const { return m_showMigration; }
    bool migrationDismissedThisSession() const { return m_migrationDismissedThisSession; }
    const QList<Project> &pendingLocals() const { return m_pendingLocals; }
    // The sheet's inputs, fixed when the offer is made.
    Q_INVOKABLE QVariant pendingLocalsValue() const;
    Q_INVOKABLE QVariant cloudProjectsValue() const;
    Q_INVOKABLE void migrationSkipped();
    Q_INVOKABLE void migrationClosed();
    // The sheet's finish action: the account's list again, without iterations.
    Q_INVOKABLE void migrationFinished();

    // Starts the shell's two tasks; the view calls it once when it is shown.
    Q_INVOKABLE void start();
    // Offers the device projects to a signed-in window that has not skipped the offer.
    void runMigrationProbeIfNeeded();

Q_SIGNALS:
    void authChanged();
    void isGuestChanged();
    void projectsServiceChanged();
    void widthChanged();
    void isCompactChanged();
    void mainSectionChanged();
    void selectedProjectIdChanged();
    void selectedFinanceProjectIdChanged();
    void selectedAnalyticsRowChanged();
    void financeProjectChanged();
    void tourPreferencesChanged();
    void mainOnboardingStepChanged();
    void onboardingDemoProjectIdChanged();
    void currentHighlightChanged();
    void highlightFramesChanged();
    void activeHighlightRectChanged();
    void showMigrationChanged();
    void migrationDismissedChanged();
    // The tour task and the migration probe report here when they end (for tests and the bench).
    void tourTaskFinished();
    void migrationProbeFinished();

private:
    void onPreferenceChanged(const QString &key);
    void setDemoProjectId(const std::optional<QString> &id);
    void restartTourTaskIfKeyChanged();
    void startTourTask();
    static QCoro::Task<> tourStartTask(QPointer<MainShellViewModel> shell, std::shared_ptr<ProjectsService> service,
                                       quint64 generation);
    static QCoro::Task<> migrationProbeTask(QPointer<MainShellViewModel> shell,
                                            std::shared_ptr<ProjectsService> service);
    void updateHighlight();

    QPointer<AuthService> m_auth;
    bool m_isGuest = false;
    std::shared_ptr<ProjectsService> m_projectsService;
    qreal m_width = 960;
    bool m_isCompact = false;
    bool m_started = false;

    AppSection m_mainSection = AppSection::Projects;
    std::optional<QString> m_selectedProjectId;
    std::optional<QString> m_selectedFinanceProjectId;
    QVariant m_selectedAnalyticsRow;

    bool m_showMigration = false;
    bool m_migrationDismissedThisSession = false;
    QList<Project> m_pendingLocals;
    QList<Project> m_migrationCloudProjects;

    int m_completedVersion = 0;
    int m_replayNonce = 0;
    int m_mainOnboardingStep = 0;
    std::optional<QString> m_onboardingDemoProjectId;
    QVariantMap m_highlightFrames;
    QString m_currentHighlight;
    QString m_tourTaskKey;
    quint64 m_tourTaskGeneration = 0;
};
