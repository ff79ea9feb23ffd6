#pragma once

#include "API/ProjectsService.h"
#include "Features/Projects/ProjectCardsModel.h"
#include "Features/Projects/ProjectTreeModel.h"
#include "Models/EstimateTemplate.h"
#include "Models/ProjectTreeGroup.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QSet>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <optional>

// The projects list: the service's projects as a tree of roots and iterations (signed in) or as
// cards (guest), searched, refreshed, created into and deleted from. It keeps no projects of its
// own: every change of the service's list is brought to the rows that changed.
class ProjectsListViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(bool isGuest READ isGuest WRITE setGuest NOTIFY isGuestChanged)
    // Whether iteration rows offer "Платежи".
    Q_PROPERTY(bool offersFinance READ offersFinance WRITE setOffersFinance NOTIFY offersFinanceChanged)
    Q_PROPERTY(
        QString selectedProjectId READ selectedProjectId WRITE setSelectedProjectId NOTIFY selectedProjectIdChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(QString hoveredRowId READ hoveredRowId NOTIFY hoveredRowIdChanged)
    Q_PROPERTY(ProjectTreeModel *treeModel READ treeModel CONSTANT)
    Q_PROPERTY(ProjectCardsModel *cardsModel READ cardsModel CONSTANT)
    // "loading", "error", "empty", "noResults", "cards" or "tree".
    Q_PROPERTY(QString contentState READ contentState NOTIFY contentChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY contentChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY contentChanged)
    Q_PROPERTY(QString bannerMessage READ bannerMessage NOTIFY contentChanged)
    Q_PROPERTY(bool hasBanner READ hasBanner NOTIFY contentChanged)
    // Whether the banner is spoken as it shows: not a failure its own screen told (a save's).
    Q_PROPERTY(bool bannerSpeaks READ bannerSpeaks NOTIFY contentChanged)
    Q_PROPERTY(QString emptyDescription READ emptyDescription NOTIFY isGuestChanged)
    Q_PROPERTY(QString noResultsText READ noResultsText NOTIFY searchTextChanged)
    // Position of the selection among the shown rows or cards, -1 when it is not shown.
    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY rowsChanged)
    // The row or card the keyboard stands on: the one the arrows went to while it is shown, else
    // the selection while it is shown, else the first one shown (a search that hides the
    // selection starts at its first result); -1 for none.
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY rowsChanged)
    Q_PROPERTY(QString currentProjectId READ currentProjectId NOTIFY rowsChanged)
    Q_PROPERTY(bool hasProjectToDelete READ hasProjectToDelete NOTIFY projectToDeleteChanged)
    Q_PROPERTY(QString deleteDialogTitle READ deleteDialogTitle NOTIFY projectToDeleteChanged)
    Q_PROPERTY(QString deleteDialogMessage READ deleteDialogMessage NOTIFY projectToDeleteChanged)
    Q_PROPERTY(QString deleteConfirmTitle READ deleteConfirmTitle NOTIFY projectToDeleteChanged)
    Q_PROPERTY(bool isDeleting READ isDeleting NOTIFY isDeletingChanged)
    // Geometry: the list's own width and the window's metrics in, the column and grid out.
    Q_PROPERTY(double listWidth READ listWidth WRITE setListWidth NOTIFY geometryChanged)
    Q_PROPERTY(double windowWidth READ windowWidth WRITE setWindowWidth NOTIFY geometryChanged)
    Q_PROPERTY(bool isCompact READ isCompact WRITE setCompact NOTIFY geometryChanged)
    Q_PROPERTY(double contentPadding READ contentPadding NOTIFY geometryChanged)
    Q_PROPERTY(double contentWidth READ contentWidth NOTIFY geometryChanged)
    Q_PROPERTY(int cardColumns READ cardColumns NOTIFY geometryChanged)
    Q_PROPERTY(double cardWidth READ cardWidth NOTIFY geometryChanged)

public:
    explicit ProjectsListViewModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_service; }
    void setProjectsService(ProjectsService *service);
    bool isGuest() const { return m_isGuest; }
    void setGuest(bool guest);
    bool offersFinance() const { return m_offersFinance; }
    void setOffersFinance(bool offers);
    const QString &selectedProjectId() const { return m_selectedProjectId; }
    void setSelectedProjectId(const QString &id);
    const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    const QString &hoveredRowId() const { return m_hoveredRowId; }
    ProjectTreeModel *treeModel() const { return m_tree; }
    ProjectCardsModel *cardsModel() const { return m_cards; }
    const QSet<QString> &expandedRoots() const { return m_expandedRoots; }
    // The tree after the search, in display order.
    const QList<ProjectTreeGroup> &treeGroups() const { return m_filteredGroups; }

    QString contentState() const;
    bool isLoading() const;
    QString errorMessage() const;
    QString bannerMessage() const;
    bool hasBanner() const;
    bool bannerSpeaks() const;
    QString emptyDescription() const;
    QString noResultsText() const;
    int selectedIndex() const;
    int currentIndex() const;
    QString currentProjectId() const;

    bool hasProjectToDelete() const { return m_projectToDelete.has_value(); }
    const std::optional<Project> &projectToDelete() const { return m_projectToDelete; }
    QString deleteDialogTitle() const;
    QString deleteDialogMessage() const;
    QString deleteConfirmTitle() const;
    bool isDeleting() const { return m_isDeleting; }

    double listWidth() const { return m_listWidth; }
    void setListWidth(double width);
    double windowWidth() const { return m_windowWidth; }
    void setWindowWidth(double width);
    bool isCompact() const { return m_isCompact; }
    void setCompact(bool compact);
    double contentPadding() const { return m_isCompact ? 20 : 28; }
    double contentWidth() const;
    int cardColumns() const;
    double cardWidth() const;

    // The list came on screen: loads with iterations when signed in. Selection and count
    // changes before this are initial values and unfold nothing.
    Q_INVOKABLE void appear();
    // appear() once the window has drawn a frame (at once without a window), so that the
    // window's first frame never waits for the list; until then the list shows as loading.
    Q_INVOKABLE void appearAfterFrame(QQuickWindow *window);
    // Toolbar, shortcut and "Повторить": as appear(), with iterations when signed in.
    Q_INVOKABLE void refresh();
    // A press on a row or card: selects it; a root with iterations, or an iteration's group, unfolds.
    Q_INVOKABLE void activate(const QString &projectId, const QString &rootId = {});
    Q_INVOKABLE void setRootExpanded(const QString &rootId, bool expanded);
    Q_INVOKABLE void toggleRoot(const QString &rootId);
    // The arrows: the keyboard goes over the shown rows or cards, from the current one on. Nothing
    // opens until Return or Space (activateCurrent).
    Q_INVOKABLE void moveCurrent(int delta);
    // Folds or unfolds the current root.
    Q_INVOKABLE void expandCurrent(bool expanded);
    // Return, Enter or Space: as a press on the current row or card.
    Q_INVOKABLE void activateCurrent();
    Q_INVOKABLE void hoverEntered(const QString &projectId);
    Q_INVOKABLE void hoverLeft(const QString &projectId);
    // A menu's delete entry: asks for confirmation (deleteRequested).
    Q_INVOKABLE void requestDelete(const QString &projectId);
    // The Delete key: the current row's delete entry, when its menu has one.
    Q_INVOKABLE bool requestDeleteCurrent();
    Q_INVOKABLE void cancelDelete();
    Q_INVOKABLE void confirmDelete();

    // Creates the project. The new project is selected after the caller has heard the answer
    // (the sheet closes first). Nothing happens once the list is gone.
    static QCoro::Task<ProjectCreation> create(QPointer<ProjectsListViewModel> self, QString name,
                                               std::optional<QString> clientName, QString currency, QString sphereId,
                                               std::optional<EstimateTemplate> estimateTemplate);

Q_SIGNALS:
    void projectsServiceChanged();
    void isGuestChanged();
    void offersFinanceChanged();
    void selectedProjectIdChanged();
    void searchTextChanged();
    void hoveredRowIdChanged();
    void contentChanged();
    void rowsChanged();
    void projectToDeleteChanged();
    void isDeletingChanged();
    void geometryChanged();
    // A delete entry was chosen: the confirmation dialog opens.
    void deleteRequested();
    // A deletion (and the reload after it) ended.
    void deleteFinished(bool deleted);

private:
    static QCoro::Task<> runDelete(QPointer<ProjectsListViewModel> self, QPointer<ProjectsService> service,
                                   Project project, bool checkIterations);
    static QCoro::Task<bool> removeChecked(QPointer<ProjectsService> service, Project project, bool checkIterations);

    void load(bool includeIterations);
    void clearRefusal();
    void projectsChanged();
    void refilter();
    void rebuildRows();
    void unfoldAllWithIterations();
    // True when the group was folded.
    bool unfoldGroupOf(const QString &projectId);
    void refreshRowStates();
    void setHoveredRowId(const QString &id);
    void setProjectToDelete(std::optional<Project> project);
    void setDeleting(bool deleting);
    std::optional<Project> listedProject(const QString &id) const;
    // Project identities in the order they are shown.
    QStringList shownIds() const;
    const ProjectTreeRow *currentTreeRow() const;
    QList<Project> projects() const;

    QPointer<ProjectsService> m_service;
    bool m_isGuest = false;
    bool m_offersFinance = true;
    bool m_started = false;
    QString m_selectedProjectId;
    // Where the arrows went; a new selection takes the keyboard with it.
    QString m_currentProjectId;
    QString m_searchText;
    QString m_hoveredRowId;
    QSet<QString> m_expandedRoots;
    qsizetype m_projectCount = 0;
    QList<ProjectTreeGroup> m_groups;
    QList<QStringList> m_groupTexts; // per group of m_groups
    QList<QStringList> m_projectTexts; // per listed project, for the cards
    QList<ProjectTreeGroup> m_filteredGroups;
    QList<Project> m_filteredProjects;
    // Row texts per project and kind, made once per list of projects: money texts are costly.
    mutable QHash<QString, std::pair<QString, QString>> m_rowTexts;
    QHash<QString, int> m_iterationCounts; // listed iterations per root, for the delete entries
    std::optional<Project> m_projectToDelete;
    bool m_isDeleting = false;
    // Why the last root deletion was refused; shown in the banner until the next load.
    QString m_refusal;
    double m_listWidth = 0;
    double m_windowWidth = 0;
    bool m_isCompact = true;
    ProjectTreeModel *m_tree;
    ProjectCardsModel *m_cards;
};
