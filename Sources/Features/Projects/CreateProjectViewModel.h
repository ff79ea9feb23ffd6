#pragma once

#include "Features/Projects/ProjectsListViewModel.h"
#include "Features/Projects/TemplateCardsModel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>

// The create-project sheet: name, client, currency, sphere and an optional template of that
// sphere, handed to the projects list, which creates the project. Each sheet starts afresh.
class CreateProjectViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ProjectsListViewModel *list READ list WRITE setList NOTIFY listChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString clientName READ clientName WRITE setClientName NOTIFY clientNameChanged)
    Q_PROPERTY(QString currency READ currency WRITE setCurrency NOTIFY currencyChanged)
    Q_PROPERTY(QStringList currencies READ currencies CONSTANT)
    Q_PROPERTY(QString sphereId READ sphereId WRITE setSphereId NOTIFY sphereIdChanged)
    Q_PROPERTY(TemplateCardsModel *templates READ templates CONSTANT)
    Q_PROPERTY(bool hasTemplates READ hasTemplates NOTIFY sphereIdChanged)
    Q_PROPERTY(bool hasSelectedTemplate READ hasSelectedTemplate NOTIFY selectedTemplateChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY isSubmittingChanged)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY canSubmitChanged)
    Q_PROPERTY(QString confirmText READ confirmText NOTIFY confirmTextChanged)
    // A creation the backend may have made without saying so: the sheet says why and only closes,
    // so that the project is looked for in the list before it is made again.
    Q_PROPERTY(bool isUnsettled READ isUnsettled NOTIFY unsettled)
    Q_PROPERTY(QString notice READ notice NOTIFY unsettled)

public:
    explicit CreateProjectViewModel(QObject *parent = nullptr);

    ProjectsListViewModel *list() const { return m_list; }
    void setList(ProjectsListViewModel *list);
    const QString &name() const { return m_name; }
    void setName(const QString &name);
    const QString &clientName() const { return m_clientName; }
    void setClientName(const QString &clientName);
    const QString &currency() const { return m_currency; }
    void setCurrency(const QString &currency);
    static QStringList currencies();
    const QString &sphereId() const { return m_sphereId; }
    // A change of sphere offers that sphere's templates and clears the mark.
    void setSphereId(const QString &sphereId);
    TemplateCardsModel *templates() const { return m_templates; }
    bool hasTemplates() const { return m_templates->count() > 0; }
    bool hasSelectedTemplate() const { return m_templates->selectedIndex() >= 0; }
    bool isSubmitting() const { return m_isSubmitting; }
    bool canSubmit() const;
    QString confirmText() const;
    bool isUnsettled() const { return m_isUnsettled; }
    const QString &notice() const { return m_notice; }

    Q_INVOKABLE void selectTemplate(int index);
    Q_INVOKABLE void clearTemplate();
    // Hands the values to the list; `created` follows a success, and the sheet closes on it;
    // `unsettled` follows a creation the backend may have made all the same.
    Q_INVOKABLE void submit();

Q_SIGNALS:
    void listChanged();
    void nameChanged();
    void clientNameChanged();
    void currencyChanged();
    void sphereIdChanged();
    void selectedTemplateChanged();
    void isSubmittingChanged();
    void canSubmitChanged();
    void confirmTextChanged();
    void created();
    void unsettled();

private:
    static QCoro::Task<> runSubmit(QPointer<CreateProjectViewModel> self, QPointer<ProjectsListViewModel> list,
                                   QString name, std::optional<QString> clientName, QString currency, QString sphereId,
                                   std::optional<EstimateTemplate> estimateTemplate);
    void setSubmitting(bool submitting);

    QPointer<ProjectsListViewModel> m_list;
    QString m_name;
    QString m_clientName;
    QString m_currency;
    QString m_sphereId;
    bool m_isSubmitting = false;
    bool m_isUnsettled = false;
    QString m_notice;
    TemplateCardsModel *m_templates;
};
