#pragma once

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

// Everything the test backend remembers: accounts, tokens, projects, payments, AI snapshots.
// Records are kept in their JSON form, exactly as the API sends them.
struct BackendData
{
    struct Account
    {
        QString id;
        QString email;
        QString password;
        std::optional<QString> firstName;
        std::optional<QString> lastName;
        bool verified = false;
        QString createdAt;
        QString updatedAt;
    };

    QList<Account> accounts;
    QHash<QString, QString> tokens; // access token -> account id
    QHash<QString, QString> verificationTokens; // token -> account id
    QHash<QString, QString> resetTokens; // token -> account id
    QList<QJsonObject> projects; // in creation order
    QList<QJsonObject> payments; // in creation order
    QHash<QString, QJsonObject> aiSnapshots; // project id -> last snapshot
    int nextId = 1;

    static QString now();
    QString newId(const QString &prefix);

    Account &addAccount(const QString &email, const QString &password, bool verified = true,
                        std::optional<QString> firstName = std::nullopt,
                        std::optional<QString> lastName = std::nullopt);
    Account *account(const QString &id);
    Account *accountByEmail(const QString &email);
    static QJsonObject userJson(const Account &account);
    // A fresh access token for the account.
    QString issueToken(const QString &accountId);
    QString issueVerificationToken(const QString &accountId);
    QString issueResetToken(const QString &accountId);
    // The last verification or reset token issued for an e-mail, or an empty text.
    QString verificationTokenFor(const QString &email) const;
    QString resetTokenFor(const QString &email) const;

    QJsonObject *project(const QString &id);
    QJsonObject *ownedProject(const QString &id, const QString &accountId);
    // The project's root identity: its parent when it is an iteration, else its own.
    static QString rootId(const QJsonObject &project);
    static bool isRoot(const QJsonObject &project);
    // Recomputes totalHours and totalCost from the lines (a rate not above zero takes defaultRate).
    static void recomputeTotals(QJsonObject &project);
    QJsonObject &addProject(const QString &accountId, QJsonObject fields);

    QJsonObject *payment(const QString &id);
    // A payment in roubles of the project, stamped now; extra fields (note, paidAt, ...) are added
    // as given.
    QJsonObject &addPayment(const QString &projectId, const QString &accountId, double amount, const QString &status,
                            const QJsonObject &extra = {});
};
