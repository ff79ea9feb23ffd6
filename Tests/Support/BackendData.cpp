#include "BackendData.h"

#include <QDateTime>
#include <QJsonArray>
#include <QRandomGenerator>

QString BackendData::now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

QString BackendData::newId(const QString &prefix)
{
    return QStringLiteral("%1-%2").arg(prefix).arg(nextId++);
}

BackendData::Account &BackendData::addAccount(const QString &email, const QString &password, bool verified,
                                              std::optional<QString> firstName, std::optional<QString> lastName)
{
    const QString stamp = now();
    accounts.append(Account{newId(QStringLiteral("user")), email, password, std::move(firstName), std::move(lastName),
                            verified, stamp, stamp});
    return accounts.last();
}

BackendData::Account *BackendData::account(const QString &id)
{
    for (Account &account : accounts) {
        if (account.id == id)
            return &account;
    }
    return nullptr;
}

BackendData::Account *BackendData::accountByEmail(const QString &email)
{
    for (Account &account : accounts) {
        if (account.email.compare(email, Qt::CaseInsensitive) == 0)
            return &account;
    }
    return nullptr;
}

QJsonObject BackendData::userJson(const Account &account)
{
    QJsonObject user{{QStringLiteral("id"), account.id},
                     {QStringLiteral("email"), account.email},
                     {QStringLiteral("createdAt"), account.createdAt},
                     {QStringLiteral("updatedAt"), account.updatedAt}};
    if (account.firstName)
        user.insert(QStringLiteral("firstName"), *account.firstName);
    if (account.lastName)
        user.insert(QStringLiteral("lastName"), *account.lastName);
    return user;
}

namespace {
QString randomToken(const QString &prefix)
{
    return QStringLiteral("%1.%2").arg(prefix).arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}
} // namespace

QString BackendData::issueToken(const QString &accountId)
{
    const QString token = randomToken(QStringLiteral("access"));
    tokens.insert(token, accountId);
    return token;
}

QString BackendData::issueVerificationToken(const QString &accountId)
{
    const QString token = randomToken(QStringLiteral("verify"));
    // One outstanding link per account: a new one replaces the old.
    verificationTokens.removeIf([&accountId](const auto &entry) { return entry.value() == accountId; });
    verificationTokens.insert(token, accountId);
    return token;
}

QString BackendData::issueResetToken(const QString &accountId)
{
    const QString token = randomToken(QStringLiteral("reset"));
    // One outstanding link per account: a new one replaces the old.
    resetTokens.removeIf([&accountId](const auto &entry) { return entry.value() == accountId; });
    resetTokens.insert(token, accountId);
    return token;
}

namespace {
QString lastTokenFor(const QHash<QString, QString> &issued, const QList<BackendData::Account> &accounts,
                     const QString &email)
{
    for (const BackendData::Account &account : accounts) {
        if (account.email.compare(email, Qt::CaseInsensitive) != 0)
            continue;
        QString found;
        for (auto it = issued.cbegin(); it != issued.cend(); ++it) {
            if (it.value() == account.id)
                found = it.key();
        }
        return found;
    }
    return {};
}
} // namespace

QString BackendData::verificationTokenFor(const QString &email) const
{
    return lastTokenFor(verificationTokens, accounts, email);
}

QString BackendData::resetTokenFor(const QString &email) const
{
    return lastTokenFor(resetTokens, accounts, email);
}

QJsonObject *BackendData::project(const QString &id)
{
    for (QJsonObject &project : projects) {
        if (project.value(QStringLiteral("id")).toString() == id)
            return &project;
    }
    return nullptr;
}

QJsonObject *BackendData::ownedProject(const QString &id, const QString &accountId)
{
    QJsonObject *found = project(id);
    if (!found || found->value(QStringLiteral("userId")).toString() != accountId)
        return nullptr;
    return found;
}

QString BackendData::rootId(const QJsonObject &project)
{
    const QString parent = project.value(QStringLiteral("parentProjectId")).toString();
    return parent.isEmpty() ? project.value(QStringLiteral("id")).toString() : parent;
}

bool BackendData::isRoot(const QJsonObject &project)
{
    return rootId(project) == project.value(QStringLiteral("id")).toString();
}

void BackendData::recomputeTotals(QJsonObject &project)
{
    const double defaultRate = project.value(QStringLiteral("defaultRate")).toDouble(0);
    double hours = 0;
    double cost = 0;
    for (const QJsonValue &item : project.value(QStringLiteral("items")).toArray()) {
        const double lineHours = item.toObject().value(QStringLiteral("hours")).toDouble();
        const double rate = item.toObject().value(QStringLiteral("rate")).toDouble();
        hours += lineHours;
        cost += lineHours * (rate > 0 ? rate : defaultRate);
    }
    project.insert(QStringLiteral("totalHours"), hours);
    project.insert(QStringLiteral("totalCost"), cost);
}

QJsonObject &BackendData::addProject(const QString &accountId, QJsonObject fields)
{
    const QString stamp = now();
    fields.insert(QStringLiteral("id"), newId(QStringLiteral("p")));
    fields.insert(QStringLiteral("userId"), accountId);
    if (!fields.contains(QStringLiteral("currency")))
        fields.insert(QStringLiteral("currency"), QStringLiteral("RUB"));
    if (!fields.contains(QStringLiteral("status")))
        fields.insert(QStringLiteral("status"), QStringLiteral("draft"));
    if (!fields.contains(QStringLiteral("items")))
        fields.insert(QStringLiteral("items"), QJsonArray());
    if (!fields.contains(QStringLiteral("projectType")))
        fields.insert(QStringLiteral("projectType"), QStringLiteral("one_time"));
    fields.insert(QStringLiteral("createdAt"), stamp);
    fields.insert(QStringLiteral("updatedAt"), stamp);
    recomputeTotals(fields);
    projects.append(fields);
    return projects.last();
}

QJsonObject *BackendData::payment(const QString &id)
{
    for (QJsonObject &payment : payments) {
        if (payment.value(QStringLiteral("id")).toString() == id)
            return &payment;
    }
    return nullptr;
}

QJsonObject &BackendData::addPayment(const QString &projectId, const QString &accountId, double amount,
                                     const QString &status, const QJsonObject &extra)
{
    const QString stamp = now();
    QJsonObject payment{{QStringLiteral("id"), newId(QStringLiteral("pay"))},
                        {QStringLiteral("amount"), amount},
                        {QStringLiteral("currency"), QStringLiteral("RUB")},
                        {QStringLiteral("status"), status},
                        {QStringLiteral("projectId"), projectId},
                        {QStringLiteral("userId"), accountId},
                        {QStringLiteral("createdAt"), stamp},
                        {QStringLiteral("updatedAt"), stamp}};
    for (auto it = extra.constBegin(); it != extra.constEnd(); ++it)
        payment.insert(it.key(), it.value());
    payments.append(payment);
    return payments.last();
}
