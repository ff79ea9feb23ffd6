#pragma once

#include "API/ProjectsService.h"
#include "AppSection.h"
#include "Auth/AuthService.h"
#include "Features/Analytics/AnalyticsProjectRow.h"
#include "Features/Auth/LocalDataMigrationOffer.h"
#include "Features/Editor/UnsavedEditsGuard.h"
#include "Features/Onboarding/MainOnboardingController.h"
#include "Models/Project.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>
#include <optional>


// The main window's state: its projects service, the section, the selections of the sections and
// the hand-offs between them. The guided tour and the offer to move device projects into the
// account are parts of their own that it starts and follows.
class MainShellViewModel : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)

    Q_PROPERTY(AuthService *auth READ auth WRITE setAuth NOTIFY authChanged)
    Q_PROPERTY(bool isGuest READ isGuest WRITE setGuest NOTIFY isGuestChanged)
    // Made when the shell starts, once its mode is known.
    Q_PROPERTY(ProjectsService *projectsService READ currentProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(MainOnboardingController *tour READ tour CONSTANT)
    Q_PROPERTY(LocalDataMigrationOffer *migration READ migration CONSTANT)
    // Asks before a step takes an editor with unsaved edits away: another project, another
    // section, the window closing.
    Q_PROPERTY(UnsavedEditsGuard *unsavedEdits READ unsavedEdits CONSTANT)

    Q_PROPERTY(QString mainSection READ mainSection WRITE setMainSection NOTIFY mainSectionChanged)
    Q_PROPERTY(
        QString selectedProjectId READ selectedProjectId WRITE setSelectedProjectId NOTIFY selectedProjectIdChanged)
    Q_PROPERTY(QString selectedFinanceProjectId READ selectedFinanceProjectId WRITE setSelectedFinanceProjectId NOTIFY
                   selectedFinanceProjectIdChanged)
    // An invalid row (empty id) is no selection.
    Q_PROPERTY(AnalyticsProjectRow selectedAnalyticsRow READ selectedAnalyticsRow WRITE setSelectedAnalyticsRow NOTIFY
                   selectedAnalyticsRowChanged)
    Q_PROPERTY(bool hasFinanceProject READ hasFinanceProject NOTIFY financeProjectChanged)
    Q_PROPERTY(QString financeProjectId READ financeProjectId NOTIFY financeProjectChanged)
    Q_PROPERTY(QString financeProjectName READ financeProjectName NOTIFY financeProjectChanged)
    Q_PROPERTY(QString financeProjectCurrency READ financeProjectCurrency NOTIFY financeProjectChanged)

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
    MainOnboardingController *tour() const { return m_tour; }
    LocalDataMigrationOffer *migration() const { return m_migration; }
    UnsavedEditsGuard *unsavedEdits() const { return m_unsavedEdits; }

    QString mainSection() const { return rawValue(m_mainSection); }
    AppSection section() const { return m_mainSection; }
    // A person's choice: waits for the answer about unsaved edits.
    void setMainSection(const QString &raw);
    void setSection(AppSection section);

    QString selectedProjectId() const { return m_selectedProjectId.value_or(QString()); }
    // A person's choice: waits for the answer about unsaved edits; the list is put back on the
    // project on screen meanwhile.
    void setSelectedProjectId(const QString &id);
    void selectProject(const QString &id);
    QString selectedFinanceProjectId() const { return m_selectedFinanceProjectId.value_or(QString()); }
    void setSelectedFinanceProjectId(const QString &id);
    AnalyticsProjectRow selectedAnalyticsRow() const { return m_selectedAnalyticsRow; }
    void setSelectedAnalyticsRow(const AnalyticsProjectRow &row);

    std::optional<Project> financeProject() const;
    bool hasFinanceProject() const { return financeProject().has_value(); }
    QString financeProjectId() const;
    QString financeProjectName() const;
    QString financeProjectCurrency() const;
    // An iteration's label, " · " and its name; a root's name alone.
    static QString financeDisplayName(const Project &project);

    // Hand-offs between sections; opening the payments asks about unsaved edits first.
    Q_INVOKABLE void openPayments(const QString &projectId);
    // The analytics row of a listed project becomes the selection; an unlisted one clears it.
    Q_INVOKABLE void selectAnalyticsProject(const QString &projectId);
    Q_INVOKABLE void openPaymentsFromAnalyticsDetail();
    Q_INVOKABLE void projectDeleted();
    Q_INVOKABLE void projectIdChangedByDetail(const QString &projectId);

    // Starts the tour's demo check and the migration probe; the view calls it once when shown.
    Q_INVOKABLE void start();

Q_SIGNALS:
    void authChanged();
    void isGuestChanged();
    void projectsServiceChanged();
    void mainSectionChanged();
    void selectedProjectIdChanged();
    void selectedFinanceProjectIdChanged();
    void selectedAnalyticsRowChanged();
    void financeProjectChanged();

private:
    void onUserChanged();

    QPointer<AuthService> m_auth;
    bool m_hadUser = false;
    // The account the window was opened for.
    QString m_accountId;
    bool m_isGuest = false;
    std::shared_ptr<ProjectsService> m_projectsService;
    MainOnboardingController *m_tour = nullptr;
    LocalDataMigrationOffer *m_migration = nullptr;
    UnsavedEditsGuard *m_unsavedEdits = nullptr;
    bool m_started = false;

    AppSection m_mainSection = AppSection::Projects;
    std::optional<QString> m_selectedProjectId;
    std::optional<QString> m_selectedFinanceProjectId;
    AnalyticsProjectRow m_selectedAnalyticsRow;
};
