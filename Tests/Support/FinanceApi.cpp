#include "FinanceApi.h"

#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>

namespace FinanceApi {

namespace {

const QStringList paymentStatuses = {QStringLiteral("pending"), QStringLiteral("received"),
                                     QStringLiteral("cancelled")};
const QStringList paymentTextKeys = {QStringLiteral("currency"), QStringLiteral("paidAt"), QStringLiteral("method"),
                                     QStringLiteral("note"), QStringLiteral("externalRef")};

BackendReply invalid(const QString &problem)
{
    return BackendReply::json(400, QJsonObject{{QStringLiteral("message"), QJsonArray{problem}}});
}

// Checks the fields a payment body may carry; an empty text when they are fine.
QString paymentProblem(const QJsonObject &body, bool amountRequired)
{
    if (amountRequired ? !body.value(QStringLiteral("amount")).isDouble()
                       : body.contains(QStringLiteral("amount")) && !body.value(QStringLiteral("amount")).isDouble())
        return QStringLiteral("amount must be a number");
    if (body.contains(QStringLiteral("status"))
        && !paymentStatuses.contains(body.value(QStringLiteral("status")).toString()))
        return QStringLiteral("status must be one of the following values: pending, received, cancelled");
    return {};
}

QJsonObject analyticsOf(BackendData &data, const QJsonObject &project)
{
    const QString id = project.value(QStringLiteral("id")).toString();
    double received = 0;
    for (const QJsonObject &payment : std::as_const(data.payments)) {
        if (payment.value(QStringLiteral("projectId")).toString() == id
            && payment.value(QStringLiteral("status")).toString() == QStringLiteral("received"))
            received += payment.value(QStringLiteral("amount")).toDouble();
    }
    const double hours = project.value(QStringLiteral("totalHours")).toDouble();
    const double cost = project.value(QStringLiteral("totalCost")).toDouble();
    QJsonObject analytics{{QStringLiteral("projectId"), id},
                          {QStringLiteral("currency"), project.value(QStringLiteral("currency"))},
                          {QStringLiteral("planned"),
                           QJsonObject{{QStringLiteral("totalHours"), hours}, {QStringLiteral("totalCost"), cost}}},
                          {QStringLiteral("paid"), QJsonObject{{QStringLiteral("receivedTotal"), received}}}};
    if (data.aiSnapshots.contains(id)) {
        const QJsonObject snapshot = data.aiSnapshots.value(id);
        analytics.insert(QStringLiteral("lastAiSnapshot"), snapshot);
        analytics.insert(
            QStringLiteral("deltaFromAi"),
            QJsonObject{{QStringLiteral("hours"), hours - snapshot.value(QStringLiteral("totalHours")).toDouble()},
                        {QStringLiteral("cost"), cost - snapshot.value(QStringLiteral("totalCost")).toDouble()}});
    }
    return analytics;
}

} // namespace

void install(TestBackend &backend)
{
    BackendData &data = backend.data();

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("projects/:id/estimate-analytics"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                const QJsonObject *project = data.ownedProject(captures.at(0), accountId);
                                if (!project)
                                    return BackendReply::message(404, QStringLiteral("Проект не найден"));
                                return BackendReply::json(200, analyticsOf(data, *project));
                            });

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("projects/:id/payments"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                if (!data.ownedProject(captures.at(0), accountId))
                                    return BackendReply::message(404, QStringLiteral("Проект не найден"));
                                QJsonArray list;
                                for (const QJsonObject &payment : std::as_const(data.payments)) {
                                    if (payment.value(QStringLiteral("projectId")).toString() == captures.at(0))
                                        list.append(payment);
                                }
                                return BackendReply::json(200, list);
                            });

    backend.addAccountRoute(
        QStringLiteral("POST"), QStringLiteral("projects/:id/payments"),
        [&data](const QString &accountId, const RecordedRequest &request, const QStringList &captures) {
            const QJsonObject *project = data.ownedProject(captures.at(0), accountId);
            if (!project)
                return BackendReply::message(404, QStringLiteral("Проект не найден"));
            const QJsonObject body = request.json().toObject();
            if (const QString problem = paymentProblem(body, true); !problem.isEmpty())
                return invalid(problem);
            const QString stamp = BackendData::now();
            QJsonObject payment{{QStringLiteral("id"), data.newId(QStringLiteral("pay"))},
                                {QStringLiteral("amount"), body.value(QStringLiteral("amount"))},
                                {QStringLiteral("currency"), project->value(QStringLiteral("currency"))},
                                {QStringLiteral("status"), QStringLiteral("pending")},
                                {QStringLiteral("projectId"), captures.at(0)},
                                {QStringLiteral("userId"), accountId},
                                {QStringLiteral("createdAt"), stamp},
                                {QStringLiteral("updatedAt"), stamp}};
            for (const QString &key : paymentTextKeys) {
                if (body.value(key).isString())
                    payment.insert(key, body.value(key));
            }
            if (body.contains(QStringLiteral("status")))
                payment.insert(QStringLiteral("status"), body.value(QStringLiteral("status")));
            data.payments.append(payment);
            return BackendReply::json(201, payment);
        });

    backend.addAccountRoute(
        QStringLiteral("PATCH"), QStringLiteral("projects/payments/:paymentId"),
        [&data](const QString &accountId, const RecordedRequest &request, const QStringList &captures) {
            QJsonObject *payment = data.payment(captures.at(0));
            if (!payment || payment->value(QStringLiteral("userId")).toString() != accountId)
                return BackendReply::message(404, QStringLiteral("Платёж не найден"));
            const QJsonObject body = request.json().toObject();
            if (const QString problem = paymentProblem(body, false); !problem.isEmpty())
                return invalid(problem);
            for (const QString &key :
                 paymentTextKeys + QStringList{QStringLiteral("amount"), QStringLiteral("status")}) {
                if (body.contains(key))
                    payment->insert(key, body.value(key));
            }
            payment->insert(QStringLiteral("updatedAt"), BackendData::now());
            return BackendReply::json(200, *payment);
        });

    backend.addAccountRoute(QStringLiteral("DELETE"), QStringLiteral("projects/payments/:paymentId"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                const QJsonObject *payment = data.payment(captures.at(0));
                                if (!payment || payment->value(QStringLiteral("userId")).toString() != accountId)
                                    return BackendReply::message(404, QStringLiteral("Платёж не найден"));
                                data.payments.removeIf([&captures](const QJsonObject &p) {
                                    return p.value(QStringLiteral("id")).toString() == captures.at(0);
                                });
                                return BackendReply::empty(204);
                            });
}

} // namespace FinanceApi
