#include "DemoSeed.h"

#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>

namespace DemoSeed {

namespace {

QJsonObject line(const QString &title, const QString &category, double hours, double rate)
{
    return QJsonObject{{QStringLiteral("title"), title},
                       {QStringLiteral("category"), category},
                       {QStringLiteral("hours"), hours},
                       {QStringLiteral("rate"), rate},
                       {QStringLiteral("isLocked"), false}};
}

QJsonObject payment(BackendData &data, const QJsonObject &project, double amount, const QString &status,
                    const QString &paidAt)
{
    const QString stamp = BackendData::now();
    return QJsonObject{{QStringLiteral("id"), data.newId(QStringLiteral("pay"))},
                       {QStringLiteral("amount"), amount},
                       {QStringLiteral("currency"), project.value(QStringLiteral("currency"))},
                       {QStringLiteral("paidAt"), paidAt},
                       {QStringLiteral("status"), status},
                       {QStringLiteral("method"), QStringLiteral("Банковский перевод")},
                       {QStringLiteral("projectId"), project.value(QStringLiteral("id"))},
                       {QStringLiteral("userId"), project.value(QStringLiteral("userId"))},
                       {QStringLiteral("createdAt"), stamp},
                       {QStringLiteral("updatedAt"), stamp}};
}

} // namespace

void seed(TestBackend &backend)
{
    BackendData &data = backend.data();
    const QString owner = data.addAccount(QString::fromUtf8(email), QString::fromUtf8(password), true,
                                          QStringLiteral("Анна"), QStringLiteral("Смирнова"))
                              .id;

    const QJsonObject shop = data.addProject(
        owner,
        QJsonObject{{QStringLiteral("name"), QStringLiteral("Интернет-магазин керамики")},
                    {QStringLiteral("clientName"), QStringLiteral("ООО «Глина»")},
                    {QStringLiteral("status"), QStringLiteral("in_progress")},
                    {QStringLiteral("defaultRate"), 2500},
                    {QStringLiteral("projectType"), QStringLiteral("iterative")},
                    {QStringLiteral("version"), 1},
                    {QStringLiteral("items"),
                     QJsonArray{line(QStringLiteral("Дизайн каталога"), QStringLiteral("design"), 24, 2500),
                                line(QStringLiteral("Вёрстка"), QStringLiteral("frontend"), 40, 2500),
                                line(QStringLiteral("Корзина и оплата"), QStringLiteral("backend"), 32, 3000)}}});
    const QString shopId = shop.value(QStringLiteral("id")).toString();
    QJsonObject secondStage = data.addProject(
        owner,
        QJsonObject{{QStringLiteral("name"), shop.value(QStringLiteral("name"))},
                    {QStringLiteral("clientName"), shop.value(QStringLiteral("clientName"))},
                    {QStringLiteral("status"), QStringLiteral("draft")},
                    {QStringLiteral("defaultRate"), 2500},
                    {QStringLiteral("projectType"), QStringLiteral("iterative")},
                    {QStringLiteral("parentProjectId"), shopId},
                    {QStringLiteral("baseProjectId"), shopId},
                    {QStringLiteral("version"), 2},
                    {QStringLiteral("iterationName"), QStringLiteral("Личный кабинет")},
                    {QStringLiteral("items"),
                     QJsonArray{line(QStringLiteral("История заказов"), QStringLiteral("backend"), 16, 3000)}}});

    const QJsonObject landing =
        data.addProject(owner,
                        QJsonObject{{QStringLiteral("name"), QStringLiteral("Лендинг конференции")},
                                    {QStringLiteral("clientName"), QStringLiteral("ИП Петров")},
                                    {QStringLiteral("currency"), QStringLiteral("USD")},
                                    {QStringLiteral("status"), QStringLiteral("completed")},
                                    {QStringLiteral("defaultRate"), 40},
                                    {QStringLiteral("items"),
                                     QJsonArray{line(QStringLiteral("Макет"), QStringLiteral("design"), 12, 40),
                                                line(QStringLiteral("Вёрстка"), QStringLiteral("frontend"), 16, 0)}}});

    data.addProject(owner,
                    QJsonObject{{QStringLiteral("name"), QStringLiteral("Мобильное приложение для фитнеса")},
                                {QStringLiteral("status"), QStringLiteral("draft")},
                                {QStringLiteral("defaultRate"), 3000}});

    data.payments.append(payment(data, shop, 100000, QStringLiteral("received"), QStringLiteral("2025-03-01")));
    data.payments.append(payment(data, shop, 80000, QStringLiteral("pending"), QStringLiteral("2025-04-15")));
    data.payments.append(payment(data, landing, 1120, QStringLiteral("received"), QStringLiteral("2025-02-10")));
    Q_UNUSED(secondStage);
}

} // namespace DemoSeed
