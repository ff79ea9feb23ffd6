#pragma once

#include "EditorSaveState.h"
#include "EstimateGroupMode.h"
#include "EstimateSection.h"
#include "EstimateSectionsModel.h"

#include "API/ProjectsService.h"
#include "Models/EditableEstimateItem.h"
#include "Models/EstimateTemplate.h"
#include "Models/Project.h"
#include "Models/ProjectItem.h"
#include "Models/ProjectStatus.h"
#include "Models/ProjectTypeOption.h"
#include "Models/UpdateProjectRequest.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// The working copy of one project's estimate while the editor shows it: the editable fields,
// the lines, their sections and totals, whether anything changed since the last load or save,
// and the save itself. Setting a field does not count as a user's edit: the screen calls
// markDirty() after each one, so that a save's own reload does not hide its "saved" state.
class ProjectEditorViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString projectId READ projectId NOTIFY projectChanged)
    Q_PROPERTY(QString iterationRootId READ iterationRootId NOTIFY projectChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString clientName READ clientName WRITE setClientName NOTIFY clientNameChanged)
    // The name and the client as a screen shows them while they are not edited: a text of
    // megabytes is cut (Text::boundedMessage), so that only a field being edited lays it out whole.
    Q_PROPERTY(QString shownName READ shownName NOTIFY nameChanged)
    Q_PROPERTY(QString shownClientName READ shownClientName NOTIFY clientNameChanged)
    Q_PROPERTY(QString currency READ currency WRITE setCurrency NOTIFY currencyChanged)
    Q_PROPERTY(QString status READ statusRaw WRITE setStatusRaw NOTIFY statusChanged)
    Q_PROPERTY(double defaultRate READ defaultRate WRITE setDefaultRate NOTIFY defaultRateChanged)
    // Shortest text that reads back as the rate, with a fraction part ("50.0").
    Q_PROPERTY(QString defaultRateText READ defaultRateText NOTIFY defaultRateChanged)
    Q_PROPERTY(QString groupMode READ groupModeRaw WRITE setGroupModeRaw NOTIFY groupModeChanged)
    Q_PROPERTY(QString projectType READ projectTypeRaw WRITE setProjectTypeRaw NOTIFY projectTypeChanged)
    // "idle", "saving", "saved" or "error"; saveErrorText holds the error's text.
    Q_PROPERTY(QString saveState READ saveStateRaw NOTIFY saveStateChanged)
    Q_PROPERTY(QString saveErrorText READ saveErrorText NOTIFY saveStateChanged)
    Q_PROPERTY(QString validationMessage READ validationMessageText NOTIFY validationMessageChanged)
    Q_PROPERTY(bool isDirty READ isDirty NOTIFY isDirtyChanged)
    Q_PROPERTY(int itemCount READ itemCount NOTIFY itemsChanged)
    Q_PROPERTY(QString totalHoursText READ totalHoursText NOTIFY totalsChanged)
    Q_PROPERTY(QString totalCostText READ totalCostText NOTIFY totalsChanged)
    Q_PROPERTY(EstimateSectionsModel *sections READ sections CONSTANT)
    // SelectOption values, in the order the pickers offer them.
    Q_PROPERTY(QVariantList groupModeOptions READ groupModeOptions CONSTANT)
    Q_PROPERTY(QVariantList statusOptions READ statusOptions CONSTANT)
    Q_PROPERTY(QVariantList projectTypeOptions READ projectTypeOptions CONSTANT)

public:
    explicit ProjectEditorViewModel(QObject *parent = nullptr);
    ProjectEditorViewModel(const Project &project, ProjectsService *projectsService, QObject *parent = nullptr);

    // Starts over on this project: fields, lines, identities, group mode, clean save state.
    // A save still running for the previous one is then ignored.
    void load(const Project &project);
    // load() for a Project held in a QVariant; anything else is ignored.
    Q_INVOKABLE void loadProject(const QVariant &project);

    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);

    const QString &projectId() const { return m_projectId; }
    const std::optional<QString> &parentProjectId() const { return m_parentProjectId; }
    const std::optional<QString> &baseProjectId() const { return m_baseProjectId; }
    // Under which identity the project's iterations are listed: a parent or base other than
    // itself, else its own.
    QString iterationRootId() const;

    const QString &name() const { return m_name; }
    void setName(const QString &name);
    const QString &clientName() const { return m_clientName; }
    void setClientName(const QString &clientName);
    QString shownName() const;
    QString shownClientName() const;
    const QString &currency() const { return m_currency; }
    void setCurrency(const QString &currency);
    ProjectStatus status() const { return m_status; }
    void setStatus(ProjectStatus status);
    QString statusRaw() const { return rawValue(m_status); }
    void setStatusRaw(const QString &raw);
    double defaultRate() const { return m_defaultRate; }
    void setDefaultRate(double rate);
    QString defaultRateText() const;
    const QList<EditableEstimateItem> &items() const { return m_items; }
    void setItems(QList<EditableEstimateItem> items);
    int itemCount() const { return int(m_items.size()); }
    EstimateGroupMode groupMode() const { return m_groupMode; }
    void setGroupMode(EstimateGroupMode mode);
    QString groupModeRaw() const { return rawValue(m_groupMode); }
    void setGroupModeRaw(const QString &raw);
    ProjectTypeOption projectTypeOption() const { return m_projectTypeOption; }
    void setProjectTypeOption(ProjectTypeOption option);
    QString projectTypeRaw() const { return rawValue(m_projectTypeOption); }
    void setProjectTypeRaw(const QString &raw);

    const EditorSaveState &saveState() const { return m_saveState; }
    QString saveStateRaw() const { return m_saveState.rawValue(); }
    QString saveErrorText() const { return m_saveState.message; }
    const std::optional<QString> &validationMessage() const { return m_validationMessage; }
    QString validationMessageText() const { return m_validationMessage.value_or(QString()); }
    bool isDirty() const { return m_isDirty; }

    const QList<EstimateSection> &estimateSections() const { return m_sections->sections(); }
    EstimateSectionsModel *sections() const { return m_sections; }
    const QString &totalHoursText() const { return m_totalHoursText; }
    const QString &totalCostText() const { return m_totalCostText; }

    QVariantList groupModeOptions() const;
    QVariantList statusOptions() const;
    QVariantList projectTypeOptions() const;

    // After every user edit: clears the validation message, and a saved or failed state goes
    // back to idle. A save in flight stays in flight.
    Q_INVOKABLE void markDirty();
    // The same account signed in again over an ended session: a last save that failed for want of
    // it no longer says so (the state goes back to idle); the edits stay.
    void sessionReturned();
    // Changes the first line of that identity in place; without one, nothing happens.
    void updateItem(const QUuid &id, const std::function<void(EditableEstimateItem &)> &transform);
    // Removes every line of that identity.
    void deleteItem(const QUuid &id);
    Q_INVOKABLE void deleteLine(const QString &lineId) { deleteItem(QUuid(lineId)); }
    // Every unlocked line takes the default rate; counts as an edit even when nothing changed.
    Q_INVOKABLE void applyDefaultRateToUnlocked();
    // Takes the template's default rate, then its lines (in place of the current ones, or after).
    void applyTemplate(const EstimateTemplate &estimateTemplate, bool replace);
    // applyTemplate() for an EstimateTemplate held in a QVariant; anything else is ignored.
    Q_INVOKABLE void applyTemplateValue(const QVariant &estimateTemplate, bool replace);
    // Reloads from a stored project; the copy is clean afterwards. Group mode, save state and
    // validation message stay.
    void syncFromServer(const Project &project);
    // Moves lines within one category section (offsets within it; the destination counts
    // positions before the move), then groups every line by category in section order. An empty
    // section, offsets outside it or a destination beyond it change nothing.
    Q_INVOKABLE void moveItems(const QString &sectionId, const QList<int> &offsets, int destination);

    // Typed text as the editor reads numbers: "," as ".", the whole text one finite C-locale
    // number. An undefined value when it does not read.
    Q_INVOKABLE QVariant parseNumber(const QString &text) const;
    // The default-rate field: a text that reads becomes the rate, any other keeps it; either way
    // an edit.
    Q_INVOKABLE void setDefaultRateFromText(const QString &text);

    // The lines as the save sends them: titles trimmed of spaces and tabs, an empty description
    // absent, hours and rates below 0 (or not a number) as 0, no done flag.
    static QList<ProjectItem> projectItems(const QList<EditableEstimateItem> &items);
    // The update the save sends for the current copy.
    UpdateProjectRequest updateRequest() const;
    // Why the project these lines make could not be stored: a total of hours or money beyond the
    // largest double, which no JSON number holds. Priced as stored projects are (a line without a
    // rate costs the default rate); the text names the line to change. Nothing when the totals
    // are finite.
    static std::optional<QString> totalsOverflowMessage(const UpdateProjectRequest &request);

    // Validates, then stores the copy through the projects service; finished() tells the outcome.
    // Asked while a save runs, it saves once more after that one when the copy was edited
    // meanwhile; finished() then tells the outcome of both, once.
    Q_INVOKABLE void save();

Q_SIGNALS:
    void projectsServiceChanged();
    void projectChanged();
    void nameChanged();
    void clientNameChanged();
    void currencyChanged();
    void statusChanged();
    void defaultRateChanged();
    void itemsChanged();
    void groupModeChanged();
    void projectTypeChanged();
    void saveStateChanged();
    void validationMessageChanged();
    void isDirtyChanged();
    void totalsChanged();
    // true when the project was stored.
    void finished(bool stored);
    // The save was refused by the validation: at the line of that identity, or at the name when
    // it is empty.
    void validationFailed(const QString &lineId);

private:
    // The values a save stores; dirtiness compares them with the last loaded or saved ones.
    struct Snapshot
    {
        QString name;
        QString clientName;
        QString currency;
        ProjectStatus status = ProjectStatus::Draft;
        double defaultRate = 0;
        QList<EditableEstimateItem> items;

        bool operator==(const Snapshot &other) const = default;
    };

    Snapshot currentSnapshot() const;
    void setSaveState(const EditorSaveState &state);
    void setValidationMessage(const std::optional<QString> &message);
    // Fields and lines from a project, lines priced at fallbackRate where theirs is not above 0.
    void applyProject(const Project &project, double fallbackRate, EstimateSectionsModel::Refresh refresh);
    void itemsDidChange();
    void refreshSections(EstimateSectionsModel::Refresh refresh);
    void refreshTotals();
    void refreshDirty();
    void startSave();
    void finishSave(const std::optional<Project> &stored, const std::optional<QString> &failure,
                    const Snapshot &started, ProjectTypeOption startedType);

    static QCoro::Task<> runSave(QPointer<ProjectEditorViewModel> self, QPointer<ProjectsService> service,
                                 UpdateProjectRequest request, Snapshot started, ProjectTypeOption startedType,
                                 quint64 generation);
    // The one call of the service's update.
    static QCoro::Task<std::optional<Project>> sendUpdate(ProjectsService &service, const QString &id,
                                                          const UpdateProjectRequest &request);

    QPointer<ProjectsService> m_projectsService;
    QString m_projectId;
    std::optional<QString> m_parentProjectId;
    std::optional<QString> m_baseProjectId;

    QString m_name;
    QString m_clientName;
    QString m_currency;
    ProjectStatus m_status = ProjectStatus::Draft;
    double m_defaultRate = 0;
    QList<EditableEstimateItem> m_items;
    EstimateGroupMode m_groupMode = EstimateGroupMode::Category;
    ProjectTypeOption m_projectTypeOption = ProjectTypeOption::OneTime;
    EditorSaveState m_saveState;
    std::optional<QString> m_validationMessage;

    Snapshot m_savedSnapshot;
    bool m_isDirty = false;
    // Counts loads, so that a save started for an earlier project changes nothing.
    quint64 m_generation = 0;
    // A save was asked for while one ran.
    bool m_saveAgain = false;

    EstimateSectionsModel *m_sections;
    QString m_totalHoursText;
    QString m_totalCostText;
};
