#include "AIApi.h"

#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>

namespace AIApi {

namespace {

struct Line
{
    const char *title;
    const char *description;
    const char *category;
    double hours;
};

// Line sets per mode: the detailed one breaks the work down further, the budget one keeps the essentials.
const Line detailedLines[] = {
    {"Анализ требований", "Интервью с заказчиком и спецификация", "management", 8},
    {"Дизайн интерфейса", "Макеты основных экранов", "design", 16},
    {"Вёрстка и клиентская часть", "Экраны по макетам", "frontend", 32},
    {"Серверная часть и API", "Модели данных, эндпоинты, авторизация", "backend", 40},
    {"Тестирование", "Ручные и автоматические проверки", "testing", 12},
};
const Line quickLines[] = {
    {"Дизайн", "Основные экраны", "design", 10},
    {"Разработка", "Клиент и сервер", "backend", 40},
    {"Тестирование", "Проверка перед сдачей", "testing", 6},
};
const Line budgetLines[] = {
    {"Разработка по шаблону", "Готовые компоненты", "frontend", 20},
    {"Запуск", "Публикация и проверка", "testing", 4},
};

template<std::size_t N>
QJsonArray linesJson(const Line (&lines)[N], double rate)
{
    QJsonArray array;
    for (const Line &line : lines) {
        array.append(QJsonObject{{QStringLiteral("title"), QString::fromUtf8(line.title)},
                                 {QStringLiteral("description"), QString::fromUtf8(line.description)},
                                 {QStringLiteral("category"), QString::fromUtf8(line.category)},
                                 {QStringLiteral("hours"), line.hours},
                                 {QStringLiteral("rate"), rate}});
    }
    return array;
}

} // namespace

void install(TestBackend &backend)
{
    BackendData &data = backend.data();

    backend.addAccountRoute(
        QStringLiteral("POST"), QStringLiteral("ai/generate"),
        [&data](const QString &accountId, const RecordedRequest &request, const QStringList &) {
            const QJsonObject body = request.json().toObject();
            QStringList problems;
            if (!body.value(QStringLiteral("projectName")).isString())
                problems.append(QStringLiteral("projectName must be a string"));
            if (body.value(QStringLiteral("requirements")).toString().trimmed().isEmpty())
                problems.append(QStringLiteral("requirements should not be empty"));
            const QString mode = body.value(QStringLiteral("mode")).toString();
            if (mode != QStringLiteral("detailed") && mode != QStringLiteral("quick")
                && mode != QStringLiteral("budget"))
                problems.append(QStringLiteral("mode must be one of the following values: detailed, quick, budget"));
            if (!problems.isEmpty())
                return BackendReply::json(
                    400, QJsonObject{{QStringLiteral("message"), QJsonArray::fromStringList(problems)}});

            const double rate = body.value(QStringLiteral("defaultRate")).toDouble(2500);
            const QJsonArray items = mode == QStringLiteral("detailed") ? linesJson(detailedLines, rate)
                : mode == QStringLiteral("quick")                       ? linesJson(quickLines, rate)
                                                                        : linesJson(budgetLines, rate);
            const QString projectId = body.value(QStringLiteral("projectId")).toString();
            if (!projectId.isEmpty() && data.ownedProject(projectId, accountId)) {
                double hours = 0;
                for (const QJsonValue &item : items)
                    hours += item.toObject().value(QStringLiteral("hours")).toDouble();
                data.aiSnapshots.insert(projectId,
                                        QJsonObject{{QStringLiteral("id"), data.newId(QStringLiteral("ai"))},
                                                    {QStringLiteral("createdAt"), BackendData::now()},
                                                    {QStringLiteral("mode"), mode},
                                                    {QStringLiteral("totalHours"), hours},
                                                    {QStringLiteral("totalCost"), hours * rate},
                                                    {QStringLiteral("requirementsPreview"),
                                                     body.value(QStringLiteral("requirements")).toString().left(120)}});
            }
            return BackendReply::json(200, QJsonObject{{QStringLiteral("items"), items}});
        });
}

} // namespace AIApi
