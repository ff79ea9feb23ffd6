#pragma once

#include "API/ProjectsService.h"
#include "Models/CreateIterationRequest.h"
#include "Models/Project.h"
#include "Models/ProjectLineSummary.h"

#include <QAbstractListModel>
#include <QCoro/QCoroTask>
#include <QList>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The iterations of one root as the iterations sheet lists them, with the line's summary, and
// the creation of a new one from the stored estimate or empty. Texts are made here.
class ProjectIterationsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString rootProjectId READ rootProjectId WRITE setRootProjectId NOTIFY rootProjectIdChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    // The iterations could not be read: why, in place of the list (empty when they were read).
    Q_PROPERTY(QString loadError READ loadError NOTIFY loadErrorChanged)
    Q_PROPERTY(bool hasLoadError READ hasLoadError NOTIFY loadErrorChanged)
    // Why the last creation was not taken in though the backend may have made it; the list was
    // read again. Empty otherwise.
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)
    Q_PROPERTY(bool isCreating READ isCreating NOTIFY isCreatingChanged)
    Q_PROPERTY(QString newName READ newName WRITE setNewName NOTIFY newNameChanged)
    Q_PROPERTY(bool hasSummary READ hasSummary NOTIFY summaryChanged)
    Q_PROPERTY(QString iterationsCountText READ iterationsCountText NOTIFY summaryChanged)
    Q_PROPERTY(QString totalHoursText READ totalHoursText NOTIFY summaryChanged)
    Q_PROPERTY(QString totalCostText READ totalCostText NOTIFY summaryChanged)
    // The summary's lines as a reader hears them, "Итераций: 3" and so on; empty without a summary.
    Q_PROPERTY(QStringList summarySpoken READ summarySpoken NOTIFY summaryChanged)

public:
    enum Role {
        ProjectIdRole = Qt::UserRole + 1,
        TitleRole,
        StatusRole,
        // "%.1f ч · money" in the iteration's own currency.
        DetailTextRole,
    };

    explicit ProjectIterationsModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_service; }
    void setProjectsService(ProjectsService *service);
    const QString &rootProjectId() const { return m_rootProjectId; }
    void setRootProjectId(const QString &id);
    int count() const { return int(m_iterations.size()); }
    bool isLoading() const { return m_isLoading; }
    const QString &loadError() const { return m_loadError; }
    bool hasLoadError() const { return !m_loadError.isEmpty(); }
    const QString &notice() const { return m_notice; }
    bool isCreating() const { return m_isCreating; }
    const QString &newName() const { return m_newName; }
    void setNewName(const QString &name);
    const std::optional<ProjectLineSummary> &summary() const { return m_summary; }
    bool hasSummary() const { return m_summary.has_value(); }
    QString iterationsCountText() const;
    QString totalHoursText() const;
    QString totalCostText() const;
    QStringList summarySpoken() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The iterations, then the summary, one after the other; loadFailed() when the iterations
    // could not be read (no summary is asked for then).
    Q_INVOKABLE void load();
    // A new iteration from the stored estimate (copyBudget) or empty, named newName as typed.
    // created() tells its identity once the list is reloaded; a refusal changes nothing; one the
    // backend may have made all the same reloads the list and tells why in notice.
    // Ignored while a creation runs, so one press makes one iteration.
    Q_INVOKABLE void createIteration(bool copyBudget);

    // The row's title: the stored iteration name as it is, even blank; else "v" and the version.
    static QString rowTitle(const Project &iteration);
    static QString rowDetail(const Project &iteration);
    static CreateIterationRequest createRequest(const QString &name, bool copyBudget);

Q_SIGNALS:
    void projectsServiceChanged();
    void rootProjectIdChanged();
    void countChanged();
    void isLoadingChanged();
    void loadErrorChanged();
    void loadFailed();
    void noticeChanged();
    void isCreatingChanged();
    void newNameChanged();
    void summaryChanged();
    void created(const QString &projectId);

private:
    void setLoading(bool loading);
    void setCreating(bool creating);
    void setLoadError(const QString &text);
    void setNotice(const QString &text);
    void applyIterations(QList<Project> iterations);
    void applySummary(std::optional<ProjectLineSummary> summary);

    static QCoro::Task<> runLoad(QPointer<ProjectIterationsModel> self, QPointer<ProjectsService> service,
                                 QString rootId, quint64 generation);
    static QCoro::Task<> runCreate(QPointer<ProjectIterationsModel> self, QPointer<ProjectsService> service,
                                   QString rootId, CreateIterationRequest request);

    QPointer<ProjectsService> m_service;
    QString m_rootProjectId;
    QList<Project> m_iterations;
    std::optional<ProjectLineSummary> m_summary;
    bool m_isLoading = true;
    bool m_isCreating = false;
    QString m_loadError;
    QString m_notice;
    QString m_newName;
    // Counts loads, so that an older one finishing late changes nothing.
    quint64 m_generation = 0;
};
