#pragma once

#include "Data/LocalCloudMigrationPolicy.h"
#include "Features/Auth/LocalDataMigrationOffer.h"
#include "Features/Auth/LocalDataMigrationPolicyModel.h"
#include "Models/Project.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// Runs the chosen migration of device projects into the account for the migration sheet.
class LocalDataMigrationSheetModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // The window's offer: the device projects, the account's projects and the service.
    Q_PROPERTY(LocalDataMigrationOffer *offer READ offer WRITE setOffer NOTIFY inputsChanged)
    Q_PROPERTY(int localCount READ localCount NOTIFY inputsChanged)
    Q_PROPERTY(int cloudCount READ cloudCount NOTIFY inputsChanged)
    // How many projects lie on the device and in the account, as the sheet's first section says it.
    Q_PROPERTY(QString countsText READ countsText NOTIFY inputsChanged)
    Q_PROPERTY(LocalDataMigrationPolicyModel *policies READ policies CONSTANT)
    Q_PROPERTY(QString policy READ policy WRITE setPolicy NOTIFY policyChanged)
    Q_PROPERTY(QString explanation READ explanation NOTIFY policyChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY stateChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY stateChanged)

public:
    explicit LocalDataMigrationSheetModel(QObject *parent = nullptr);

    LocalDataMigrationOffer *offer() const { return m_offer; }
    void setOffer(LocalDataMigrationOffer *offer);
    const QList<Project> &locals() const { return m_locals; }
    int localCount() const { return int(m_locals.size()); }
    int cloudCount() const { return int(m_cloudProjects.size()); }
    QString countsText() const;
    LocalDataMigrationPolicyModel *policies() const { return m_policies; }
    QString policy() const;
    void setPolicy(const QString &raw);
    QString explanation() const;
    bool isRunning() const { return m_isRunning; }
    QString errorText() const { return m_errorText; }

    // Runs the policy, reloads the account's list, awaits the offer's finish action and then
    // reports finished(); on failure keeps the error.
    Q_INVOKABLE void apply();

Q_SIGNALS:
    void inputsChanged();
    void policyChanged();
    void stateChanged();
    void finished();

private:
    void takeInputs();
    static QCoro::Task<> run(QPointer<LocalDataMigrationSheetModel> self);

    QPointer<LocalDataMigrationOffer> m_offer;
    QMetaObject::Connection m_offerLink;
    QList<Project> m_locals;
    QList<Project> m_cloudProjects;
    LocalDataMigrationPolicyModel *m_policies = nullptr;
    LocalCloudMigrationPolicy m_policy = LocalCloudMigrationPolicy::MergeAll;
    bool m_isRunning = false;
    QString m_errorText;
};
