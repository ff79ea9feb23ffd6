#pragma once

#include "EstimateItemFormModel.h"
#include "ProjectEditorViewModel.h"

#include "API/FinanceService.h"
#include "API/ProjectsService.h"
#include "Models/EstimateAnalytics.h"
#include "Models/Project.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The editor screen of one project: its working copy, its own finance service, the analytics and
// iterations it shows, which sheet is open, the sphere chosen for the form and the templates, and
// what it hands to the line form, the export and a new iteration. Loads drop results that arrive
// for another project or after a newer load.
class ProjectEditorScreenModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(bool isGuestSession READ isGuestSession WRITE setIsGuestSession NOTIFY isGuestSessionChanged)
    // A Project value: the first one builds the working copy; a later copy of the same project
    // replaces it only while nothing was edited and no save runs.
    Q_PROPERTY(QVariant project READ project WRITE setProject NOTIFY projectChanged)
    Q_PROPERTY(ProjectEditorViewModel *editor READ editor CONSTANT)
    Q_PROPERTY(EstimateItemFormModel *form READ form CONSTANT)
    Q_PROPERTY(QString title READ title NOTIFY titleChanged)
    // An EstimateAnalytics value, or undefined while there is none.
    Q_PROPERTY(QVariant analytics READ analyticsValue NOTIFY analyticsChanged)
    Q_PROPERTY(bool analyticsLoading READ analyticsLoading NOTIFY analyticsLoadingChanged)
    Q_PROPERTY(int iterationCount READ iterationCount NOTIFY iterationsChanged)
    Q_PROPERTY(bool iterationsLoading READ iterationsLoading NOTIFY iterationsLoadingChanged)
    // "Текущая: " and the label of the edited iteration when the loaded iterations hold it.
    Q_PROPERTY(QString currentIterationText READ currentIterationText NOTIFY iterationsChanged)
    Q_PROPERTY(bool showsIterationsBar READ showsIterationsBar NOTIFY iterationsBarChanged)
    Q_PROPERTY(QVariantList projectTypeOptions READ projectTypeOptions NOTIFY isGuestSessionChanged)
    Q_PROPERTY(QVariantList currencyOptions READ currencyOptions CONSTANT)
    // The actions menu: SelectOption values (the key, the text, the icon) of the entries that
    // apply, in menu order.
    Q_PROPERTY(QVariantList menuEntries READ menuEntries NOTIFY iterationsBarChanged)
    Q_PROPERTY(QString activeSphereId READ activeSphereId WRITE setActiveSphereId NOTIFY activeSphereIdChanged)
    Q_PROPERTY(bool isAddingItem READ isAddingItem NOTIFY isAddingItemChanged)
    Q_PROPERTY(bool showItemForm READ showItemForm WRITE setShowItemForm NOTIFY sheetsChanged)
    Q_PROPERTY(bool showFinance READ showFinance WRITE setShowFinance NOTIFY sheetsChanged)
    Q_PROPERTY(bool showAI READ showAI WRITE setShowAI NOTIFY sheetsChanged)
    Q_PROPERTY(bool showExportPDF READ showExportPDF WRITE setShowExportPDF NOTIFY sheetsChanged)
    Q_PROPERTY(bool showIterations READ showIterations WRITE setShowIterations NOTIFY sheetsChanged)
    Q_PROPERTY(bool showNewIteration READ showNewIteration WRITE setShowNewIteration NOTIFY sheetsChanged)
    Q_PROPERTY(bool showTemplateLibrary READ showTemplateLibrary WRITE setShowTemplateLibrary NOTIFY sheetsChanged)

public:
    explicit ProjectEditorScreenModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);
    bool isGuestSession() const { return m_isGuestSession; }
    void setIsGuestSession(bool guest);
    QVariant project() const;
    void setProject(const QVariant &project);
    void setProject(const Project &project);

    ProjectEditorViewModel *editor() const { return m_editor; }
    EstimateItemFormModel *form() const { return m_form; }
    QString title() const;

    const std::optional<EstimateAnalytics> &analytics() const { return m_analytics; }
    QVariant analyticsValue() const;
    bool analyticsLoading() const { return m_analyticsLoading; }
    const QList<Project> &iterations() const { return m_iterations; }
    int iterationCount() const { return int(m_iterations.size()); }
    bool iterationsLoading() const { return m_iterationsLoading; }
    QString currentIterationText() const;
    bool showsIterationsBar() const;
    QVariantList projectTypeOptions() const;
    QVariantList currencyOptions() const;
    QVariantList menuEntries() const;

    const QString &activeSphereId() const { return m_activeSphereId; }
    void setActiveSphereId(const QString &id);
    bool isAddingItem() const { return m_isAddingItem; }

    bool showItemForm() const { return m_showItemForm; }
    void setShowItemForm(bool show) { setFlag(m_showItemForm, show); }
    bool showFinance() const { return m_showFinance; }
    void setShowFinance(bool show) { setFlag(m_showFinance, show); }
    bool showAI() const { return m_showAI; }
    void setShowAI(bool show) { setFlag(m_showAI, show); }
    bool showExportPDF() const { return m_showExportPDF; }
    void setShowExportPDF(bool show) { setFlag(m_showExportPDF, show); }
    bool showIterations() const { return m_showIterations; }
    void setShowIterations(bool show) { setFlag(m_showIterations, show); }
    bool showNewIteration() const { return m_showNewIteration; }
    void setShowNewIteration(bool show) { setFlag(m_showNewIteration, show); }
    bool showTemplateLibrary() const { return m_showTemplateLibrary; }
    void setShowTemplateLibrary(bool show) { setFlag(m_showTemplateLibrary, show); }

    // The line form on a new blank line at the default rate; it joins the lines only when saved.
    Q_INVOKABLE void openNewItem();
    // The line form on the line of that identity; its save replaces that line.
    Q_INVOKABLE void editLine(const QString &lineId);

    // Runs the menu entry of that key.
    Q_INVOKABLE void triggerMenuEntry(const QString &key);
    // Drags a card from one row of the sections model onto another: a move within its category
    // in the category mode; any other drop changes nothing. True when the lines moved.
    Q_INVOKABLE bool moveLine(int fromRow, int toRow);

    // Analytics, then iterations; a guest loads nothing.
    Q_INVOKABLE void refreshFinance();
    // The iterations of an iterative project, listed under its iteration root.
    Q_INVOKABLE void refreshIterations(const QString &expectedProjectId);

    // A CommercialProposalInput of the current copy, totals rounded to cents.
    Q_INVOKABLE QVariant exportInput() const;
    // The current lines as a save would send them (a QList<ProjectItem>), for a new iteration.
    Q_INVOKABLE QVariant newIterationItems() const;

Q_SIGNALS:
    void projectsServiceChanged();
    void isGuestSessionChanged();
    void projectChanged();
    void titleChanged();
    void analyticsChanged();
    void analyticsLoadingChanged();
    void iterationsChanged();
    void iterationsLoadingChanged();
    void iterationsBarChanged();
    void activeSphereIdChanged();
    void isAddingItemChanged();
    void sheetsChanged();
    // The line form saved that line, new or edited: its card takes the keys back.
    void lineSaved(const QString &lineId);

private:
    void setFlag(bool &flag, bool value);
    void setAnalytics(std::optional<EstimateAnalytics> analytics);
    void setAnalyticsLoading(bool loading);
    void setIterations(QList<Project> iterations);
    void setIterationsLoading(bool loading);
    void setAddingItem(bool adding);
    void formSaved(const EditableEstimateItem &item);
    // Every edit of these fields, the reload after a save included, counts as an edit; queued,
    // so that the reload's "saved" is set first.
    void watchEdits();

    static QCoro::Task<> runRefreshFinance(QPointer<ProjectEditorScreenModel> self, quint64 generation,
                                           QString expectedId);
    static QCoro::Task<> runRefreshIterations(QPointer<ProjectEditorScreenModel> self, quint64 generation,
                                              QString expectedId);
    static QCoro::Task<std::optional<EstimateAnalytics>> fetchAnalytics(FinanceService &finance, const QString &id);
    // Aborted when owner goes.
    static QCoro::Task<std::optional<QList<Project>>> fetchIterations(ProjectsService &service, const QString &rootId,
                                                                      const QObject *owner);

    QPointer<ProjectsService> m_projectsService;
    FinanceService *m_finance = nullptr;
    bool m_isGuestSession = false;
    std::optional<Project> m_project;
    ProjectEditorViewModel *m_editor;
    EstimateItemFormModel *m_form;

    std::optional<EstimateAnalytics> m_analytics;
    bool m_analyticsLoading = false;
    quint64 m_analyticsGeneration = 0;
    QList<Project> m_iterations;
    bool m_iterationsLoading = false;
    quint64 m_iterationsGeneration = 0;

    QString m_activeSphereId = QStringLiteral("software");
    bool m_isAddingItem = false;
    bool m_showItemForm = false;
    bool m_showFinance = false;
    bool m_showAI = false;
    bool m_showExportPDF = false;
    bool m_showIterations = false;
    bool m_showNewIteration = false;
    bool m_showTemplateLibrary = false;
};
