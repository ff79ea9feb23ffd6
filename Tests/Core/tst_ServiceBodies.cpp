#include "DecodingCheck.h"
#include "Models/AIGenerateMode.h"
#include "Models/AuthResponse.h"
#include "Models/CreateIterationRequest.h"
#include "Models/CreatePaymentRequest.h"
#include "Models/CreateProjectRequest.h"
#include "Models/EstimateAnalytics.h"
#include "Models/EstimateTemplate.h"
#include "Models/ForgotPasswordRequest.h"
#include "Models/GenerateEstimateRequest.h"
#include "Models/GenerateEstimateResponse.h"
#include "Models/MessageResponse.h"
#include "Models/Payment.h"
#include "Models/ProjectLineSummary.h"
#include "Models/RegisterRequest.h"
#include "Models/ResetPasswordRequest.h"
#include "Models/UpdatePaymentRequest.h"
#include "Models/UpdateProjectRequest.h"
#include "Models/User.h"

#include <functional>
#include <limits>

using Kind = DecodingError::Kind;
using Read = std::function<void(const QJsonValue &)>;
using Encode = std::function<void()>;

namespace {

QJsonObject validUser()
{
    return parsedObject(R"({"id": "u1", "email": "anna@example.org", "firstName": " Анна ", "lastName": "",
                            "createdAt": "2024-05-01", "updatedAt": "2024-05-02", "role": "admin"})");
}

} // namespace

// Bodies sent to the backend and its answers. Sent: only present fields, texts as given (an empty text is
// sent, not dropped), numbers as numbers, keys in the backend's spelling.
class tst_ServiceBodies : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bodies_data()
    {
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<QString>("expected");
        const ProjectItem line{QStringLiteral("API"), std::nullopt, QStringLiteral("backend"), 12, 0, false,
                               std::nullopt};

        QTest::newRow("register without names")
            << RegisterRequest{"a@b.c", "pw", {}, {}}.toJson() << R"({"email":"a@b.c","password":"pw"})";
        QTest::newRow("register with names")
            << RegisterRequest{"a@b.c", "pw", QStringLiteral("Анна"), QString()}.toJson()
            << R"({"email":"a@b.c","firstName":"Анна","lastName":"","password":"pw"})";
        QTest::newRow("forgot password, not trimmed")
            << ForgotPasswordRequest{" a@b.c "}.toJson() << R"({"email":" a@b.c "})";
        QTest::newRow("reset password") << ResetPasswordRequest{"tok", "pw"}.toJson()
                                        << R"({"password":"pw","token":"tok"})";

        QTest::newRow("empty project update") << UpdateProjectRequest{}.toJson() << "{}";
        UpdateProjectRequest update;
        update.clientName = QString();
        update.status = ProjectStatus::Rejected;
        update.items = QList<ProjectItem>{};
        update.defaultRate = 0;
        QTest::newRow("project update: empty text, zero and empty list are sent")
            << update.toJson() << R"({"clientName":"","defaultRate":0,"items":[],"status":"rejected"})";
        Project edited;
        edited.id = QStringLiteral("p-1");
        edited.name = QStringLiteral("Лендинг");
        edited.currency = QStringLiteral("RUB");
        edited.defaultRate = 50;
        edited.userId = QStringLiteral("u-1");
        QTest::newRow("edited project: its edited fields, none of its identity")
            << UpdateProjectRequest::fromEditedProject(edited).toJson()
            << R"({"currency":"RUB","defaultRate":50,"items":[],"name":"Лендинг","status":"draft"})";
        CreateProjectRequest create;
        create.name = QStringLiteral("Лендинг");
        QTest::newRow("new project: name alone") << create.toJson() << R"({"name":"Лендинг"})";
        create.sphereId = QStringLiteral("design");
        create.status = ProjectStatus::Draft;
        create.items = QList<ProjectItem>{line};
        QTest::newRow("new project: lines without absent fields")
            << create.toJson()
            << R"({"items":[{"category":"backend","hours":12,"isLocked":false,"rate":0,"title":"API"}],)"
               R"("name":"Лендинг","sphereId":"design","status":"draft"})";
        CreateIterationRequest iteration;
        iteration.copyBudget = true;
        iteration.iterationNotes = QString();
        iteration.version = 2;
        iteration.items = QList<ProjectItem>{};
        QTest::newRow("new iteration") << iteration.toJson()
                                       << R"({"copyBudget":true,"items":[],"iterationNotes":"","version":2})";

        UpdatePaymentRequest statusOnly;
        statusOnly.status = PaymentStatus::Cancelled;
        QTest::newRow("payment status change alone") << statusOnly.toJson() << R"({"status":"cancelled"})";
        const CreatePaymentRequest payment{250.5,
                                           QStringLiteral("EUR"),
                                           QStringLiteral("2024-05-01"),
                                           PaymentStatus::Pending,
                                           QStringLiteral("bank"),
                                           QString(),
                                           QStringLiteral("R-1")};
        QTest::newRow("new payment in full")
            << payment.toJson()
            << R"({"amount":250.5,"currency":"EUR","externalRef":"R-1","method":"bank","note":"",)"
               R"("paidAt":"2024-05-01","status":"pending"})";

        GenerateEstimateRequest generate{.projectName = QStringLiteral("Сайт"),
                                         .requirements = QStringLiteral("Лендинг"),
                                         .mode = rawValue(AIGenerateMode::Quick)};
        QTest::newRow("generation: required fields only")
            << generate.toJson() << R"({"mode":"quick","projectName":"Сайт","requirements":"Лендинг"})";
        generate = {QStringLiteral("P"),
                    QStringLiteral("R"),
                    QStringLiteral("detailed"),
                    QStringLiteral("ctx"),
                    QStringLiteral("id1"),
                    QStringLiteral("client"),
                    QStringLiteral("USD"),
                    10.0,
                    QStringLiteral("iterative"),
                    QStringLiteral("in_progress"),
                    1.5,
                    QString()};
        QTest::newRow("generation: every field")
            << generate.toJson()
            << R"({"additionalContext":"ctx","clientName":"client","currency":"USD","deadline":"",)"
               R"("defaultRate":10,"mode":"detailed","projectId":"id1","projectName":"P",)"
               R"("projectStatus":"in_progress","projectType":"iterative","requirements":"R","targetBudgetMax":1.5})";
    }
    void bodies()
    {
        QFETCH(QJsonObject, written);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromUtf8(Json::serialize(written)), expected);
    }

    // Every record that writes a number refuses one that is not finite, and names where it is.
    void nonFiniteNumbersFailToEncode_data()
    {
        QTest::addColumn<Encode>("encode");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");

        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const QString nanText = QStringLiteral("Unable to encode Double.nan directly in JSON.");
        const QString infText = QStringLiteral("Unable to encode Double.infinity directly in JSON.");
        const auto lines = [](qsizetype count) {
            return QList<ProjectItem>(
                count,
                ProjectItem{QStringLiteral("Строка"), std::nullopt, QStringLiteral("be"), 1, 2, false, std::nullopt});
        };
        const auto projectWith = [&](const std::function<void(Project &)> &edit) {
            Project project;
            project.items = lines(3);
            edit(project);
            return project;
        };

        QTest::newRow("project total") << Encode([=] { projectWith([&](Project &p) { p.totalCost = nan; }).toJson(); })
                                       << "totalCost" << nanText;
        QTest::newRow("project default rate")
            << Encode([=] { projectWith([&](Project &p) { p.defaultRate = -inf; }).toJson(); }) << "defaultRate"
            << infText;
        QTest::newRow("project line") << Encode([=] {
            projectWith([&](Project &p) { p.items[1].rate = inf; }).toJson();
        }) << "items[1].rate" << infText;
        QTest::newRow("project under an outer path")
            << Encode([=] { projectWith([&](Project &p) { p.items[2].hours = nan; }).toJson(QStringLiteral("[4]")); })
            << "[4].items[2].hours" << nanText;
        QTest::newRow("line") << Encode([=] {
            ProjectItem line;
            line.hours = nan;
            line.toJson();
        }) << "hours" << nanText;
        QTest::newRow("new project") << Encode([=] {
            CreateProjectRequest request;
            request.defaultRate = nan;
            request.toJson();
        }) << "defaultRate" << nanText;
        QTest::newRow("new project line") << Encode([=] {
            CreateProjectRequest request;
            request.items = lines(1);
            request.items->first().hours = inf;
            request.toJson();
        }) << "items[0].hours" << infText;
        QTest::newRow("project update") << Encode([=] {
            UpdateProjectRequest request;
            request.items = lines(3);
            (*request.items)[2].rate = nan;
            request.toJson();
        }) << "items[2].rate" << nanText;
        QTest::newRow("new iteration line") << Encode([=] {
            CreateIterationRequest request;
            request.items = lines(2);
            (*request.items)[1].hours = nan;
            request.toJson();
        }) << "items[1].hours" << nanText;
        QTest::newRow("generation budget") << Encode([=] {
            GenerateEstimateRequest{.projectName = QStringLiteral("P"),
                                    .requirements = QStringLiteral("R"),
                                    .mode = QStringLiteral("quick"),
                                    .targetBudgetMax = inf}
                .toJson();
        }) << "targetBudgetMax" << infText;
        QTest::newRow("generated line") << Encode([=] {
            GenerateEstimateResponse response{{AIGeneratedItem{}, AIGeneratedItem{}}};
            response.items[1].rate = nan;
            response.toJson();
        }) << "items[1].rate" << nanText;
        QTest::newRow("payment") << Encode([=] {
            Payment payment;
            payment.amount = nan;
            payment.toJson();
        }) << "amount" << nanText;
        QTest::newRow("new payment") << Encode([=] { CreatePaymentRequest{.amount = inf}.toJson(); }) << "amount"
                                     << infText;
        QTest::newRow("payment update") << Encode([=] { UpdatePaymentRequest{.amount = nan}.toJson(); }) << "amount"
                                        << nanText;
        QTest::newRow("analytics delta") << Encode([=] {
            EstimateAnalytics analytics;
            analytics.deltaFromAi = EstimateAnalytics::DeltaTotals{1, inf};
            analytics.toJson();
        }) << "deltaFromAi.cost" << infText;
        QTest::newRow("analytics plan") << Encode([=] {
            EstimateAnalytics analytics;
            analytics.planned.totalHours = nan;
            analytics.toJson();
        }) << "planned.totalHours" << nanText;
        QTest::newRow("line summary project") << Encode([=] {
            ProjectLineSummary summary;
            summary.project = projectWith([&](Project &p) { p.items[0].rate = nan; });
            summary.toJson();
        }) << "project.items[0].rate" << nanText;
        QTest::newRow("line summary iteration") << Encode([=] {
            ProjectLineSummary summary;
            summary.iterations.resize(2);
            summary.iterations[1].totalCost = inf;
            summary.toJson();
        }) << "iterations[1].totalCost" << infText;
        QTest::newRow("line summary totals") << Encode([=] {
            ProjectLineSummary summary;
            summary.summary.totalHoursAll = nan;
            summary.toJson();
        }) << "summary.totalHoursAll" << nanText;
        QTest::newRow("template line") << Encode([=] {
            EstimateTemplate estimateTemplate;
            estimateTemplate.items.resize(1);
            estimateTemplate.items[0].hours = nan;
            EstimateTemplate::listToJson({EstimateTemplate{}, estimateTemplate});
        }) << "[1].items[0].hours" << nanText;
    }
    void nonFiniteNumbersFailToEncode()
    {
        QFETCH(Encode, encode);
        QFETCH(QString, path);
        QFETCH(QString, reason);
        try {
            encode();
            QFAIL("a number that is not finite must not be written");
        } catch (const EncodingError &error) {
            QCOMPARE(error.codingPath(), path);
            QCOMPARE(error.description(), path + QStringLiteral(": ") + reason);
        }
    }

    void answersReadAndWrittenBack()
    {
        const AuthResponse response =
            AuthResponse::fromJson(QJsonObject{{"access_token", "tok"}, {"user", validUser()}, {"flag", true}});
        QCOMPARE(response.accessToken, QStringLiteral("tok"));
        // Names are kept as sent: not trimmed, empty is not absent.
        QCOMPARE(response.user.firstName, std::optional<QString>(QStringLiteral(" Анна ")));
        QCOMPARE(response.user.lastName, std::optional<QString>(QString()));
        QCOMPARE(response.toJson().keys(), (QStringList{"access_token", "user"}));
        QCOMPARE(AuthResponse::fromJson(response.toJson()).user, response.user);

        const auto generated = GenerateEstimateResponse::fromJson(parsedObject(R"({"items": [
            {"title": "Дизайн", "description": "", "category": "design", "hours": 0.5, "rate": 2500.5, "x": 1}
        ], "model": "any"})"));
        QCOMPARE(generated.items.at(0).rate, 2500.5);
        const QJsonObject written = generated.toJson();
        QCOMPARE(written.value("items").toArray().at(0).toObject().keys(),
                 (QStringList{"category", "description", "hours", "rate", "title"}));
        QCOMPARE(GenerateEstimateResponse::fromJson(written).toJson(), written);
    }

    void refusedAnswers_data()
    {
        QTest::addColumn<QJsonValue>("json");
        QTest::addColumn<Read>("read");
        QTest::addColumn<DecodingError::Kind>("kind");
        QTest::addColumn<QString>("path");
        const Read user = [](const QJsonValue &v) { User::fromJson(v); };
        const Read auth = [](const QJsonValue &v) { AuthResponse::fromJson(v); };
        const Read message = [](const QJsonValue &v) { MessageResponse::fromJson(v); };
        const Read generated = [](const QJsonValue &v) { GenerateEstimateResponse::fromJson(v); };
        const auto secondLine = [](const char *changed) {
            return Json::parse(R"({"items": [{"title": "a", "description": "b", "category": "c", "hours": 1, "rate": 2},
                                            {"title": "a", "category": "c", "hours": 1, "rate": 2, )"
                               + QByteArray(changed) + "}]}");
        };

        QTest::newRow("token under its field name")
            << QJsonValue(QJsonObject{{"accessToken", "t"}, {"user", validUser()}}) << auth << Kind::KeyNotFound
            << "access_token";
        QTest::newRow("answer with a bad user")
            << QJsonValue(QJsonObject{{"access_token", "t"}, {"user", edited(validUser(), {}, {"id"})}}) << auth
            << Kind::KeyNotFound << "user.id";
        QTest::newRow("generation without items")
            << QJsonValue(QJsonObject{}) << generated << Kind::KeyNotFound << "items";
        // A generated line's description is required, unlike a project line's.
        QTest::newRow("generated description null")
            << secondLine(R"("description": null)") << generated << Kind::ValueNotFound << "items[1].description";
        QTest::newRow("generated description missing")
            << secondLine(R"("x": 0)") << generated << Kind::KeyNotFound << "items[1].description";
        QTest::newRow("generated line not an object")
            << Json::parse(R"({"items": ["a"]})") << generated << Kind::TypeMismatch << "items[0]";
    }
    void refusedAnswers()
    {
        QFETCH(QJsonValue, json);
        QFETCH(Read, read);
        QFETCH(DecodingError::Kind, kind);
        QFETCH(QString, path);
        const auto failure = decodingFailure([&] { read(json); });
        COMPARE_DECODING_FAILURE(failure, kind, path, "");
    }
};

QTEST_GUILESS_MAIN(tst_ServiceBodies)
#include "tst_ServiceBodies.moc"
