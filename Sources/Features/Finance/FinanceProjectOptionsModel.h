#pragma once

#include "API/ProjectsService.h"
#include "DiffedListModel.h"
#include "FinanceProjectOption.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The payments hub's rows: the service's projects as options, filtered by the search text.
// Rows are keyed by position, since one project may stand in two places.
class FinanceProjectOptionsModel : public DiffedListModel<FinanceProjectOption>
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    // What the hub shows, from the unfiltered options: a spinner only while loading with none.
    enum class State { Loading, Empty, List };
    Q_ENUM(State)

    enum Role {
        ProjectIdRole = Qt::UserRole + 1,
        TitleRole,
        SubtitleRole,
        IsIterationRole,
    };

    explicit FinanceProjectOptionsModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_service; }
    void setProjectsService(ProjectsService *service);
    QString searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    State state() const;
    int count() const { return rowCount(); }

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Loads the account's projects with their iterations.
    Q_INVOKABLE void refresh();

Q_SIGNALS:
    void projectsServiceChanged();
    void searchTextChanged();
    void stateChanged();
    void countChanged();

private:
    void rebuild();
    void update();

    QPointer<ProjectsService> m_service;
    QString m_searchText;
    QList<FinanceProjectOption> m_options;
    State m_state = State::Empty;
};
