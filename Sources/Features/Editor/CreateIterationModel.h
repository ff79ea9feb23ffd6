#pragma once

#include "IterationSource.h"

#include "API/ProjectsService.h"
#include "Models/CreateIterationRequest.h"
#include "Models/ProjectItem.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The new-iteration sheet: an optional name and the source of the lines, sent as one request.
class CreateIterationModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString rootProjectId READ rootProjectId WRITE setRootProjectId NOTIFY rootProjectIdChanged)
    // A QList<ProjectItem> in a QVariant; anything else counts as no lines.
    Q_PROPERTY(QVariant copyFromCurrentItems READ copyFromCurrentItemsValue WRITE setCopyFromCurrentItems NOTIFY
                   copyFromCurrentItemsChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString source READ sourceRaw WRITE setSourceRaw NOTIFY sourceChanged)
    Q_PROPERTY(QString sourceHint READ sourceHint NOTIFY sourceHintChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY isSubmittingChanged)
    Q_PROPERTY(QString submitText READ submitText NOTIFY submitTextChanged)
    // A creation the backend may have made without saying so: the sheet says why and only closes,
    // so that the iteration is looked for before it is made again.
    Q_PROPERTY(bool isUnsettled READ isUnsettled NOTIFY unsettled)
    Q_PROPERTY(QString notice READ notice NOTIFY unsettled)
    Q_PROPERTY(QVariantList sourceOptions READ sourceOptions CONSTANT)

public:
    explicit CreateIterationModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_service; }
    void setProjectsService(ProjectsService *service);
    const QString &rootProjectId() const { return m_rootProjectId; }
    void setRootProjectId(const QString &id);
    const QList<ProjectItem> &copyFromCurrentItems() const { return m_items; }
    QVariant copyFromCurrentItemsValue() const { return QVariant::fromValue(m_items); }
    void setCopyFromCurrentItems(const QVariant &items);
    void setCopyFromCurrentItems(const QList<ProjectItem> &items);
    const QString &name() const { return m_name; }
    void setName(const QString &name);
    IterationSource source() const { return m_source; }
    QString sourceRaw() const { return rawValue(m_source); }
    void setSourceRaw(const QString &raw);
    QString sourceHint() const { return hint(m_source, !m_items.isEmpty()); }
    bool isSubmitting() const { return m_isSubmitting; }
    QString submitText() const;
    bool isUnsettled() const { return m_isUnsettled; }
    const QString &notice() const { return m_notice; }
    static QVariantList sourceOptions();

    // The name trimmed of spaces and tabs (absent when nothing is left) and the lines per source.
    static CreateIterationRequest request(const QString &name, IterationSource source,
                                          const QList<ProjectItem> &currentItems);

    // Sends the request; created() tells the new iteration's identity, unsettled() a creation
    // the backend may have made all the same. Ignored while one runs, and after unsettled().
    Q_INVOKABLE void submit();

Q_SIGNALS:
    void projectsServiceChanged();
    void rootProjectIdChanged();
    void copyFromCurrentItemsChanged();
    void nameChanged();
    void sourceChanged();
    void sourceHintChanged();
    void isSubmittingChanged();
    void submitTextChanged();
    void created(const QString &projectId);
    void unsettled();

private:
    void setSubmitting(bool submitting);

    static QCoro::Task<> run(QPointer<CreateIterationModel> self, QPointer<ProjectsService> service, QString rootId,
                             CreateIterationRequest request);

    QPointer<ProjectsService> m_service;
    QString m_rootProjectId;
    QList<ProjectItem> m_items;
    QString m_name;
    IterationSource m_source = IterationSource::Server;
    bool m_isSubmitting = false;
    bool m_isUnsettled = false;
    QString m_notice;
};
