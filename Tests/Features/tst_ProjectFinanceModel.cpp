// The payments screen's model over the test backend: what the form sends, when the lists
// reload, what the error line says, and that one Return records one payment.
#include "API/APIClient.h"
#include "Await.h"
#include "BoundedTexts.h"
#include "Features/Finance/CalendarPage.h"
#include "Features/Finance/ProjectFinanceModel.h"
#include "TestBackend.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

namespace {

const QString rub = QStringLiteral("RUB");

QString paymentsPath(const QString &id)
{
    return QStringLiteral("projects/%1/payments").arg(id);
}

QString analyticsPath(const QString &id)
{
    return QStringLiteral("projects/%1/estimate-analytics").arg(id);
}

QString paymentPath(const QString &id)
{
    return QStringLiteral("projects/payments/%1").arg(id);
}

} // namespace

class tst_ProjectFinanceModel : public QObject
{
    Q_OBJECT

    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    QString m_accountId;
    QString m_projectId;

    std::unique_ptr<ProjectFinanceModel> model(QDateTime now = QDateTime::currentDateTime())
    {
        auto finance = std::make_unique<ProjectFinanceModel>(*m_client, now);
        finance->setProjectId(m_projectId);
        finance->setCurrency(rub);
        return finance;
    }
    QString addPayment(double amount, const QString &status = QStringLiteral("pending"),
                       const QString &text = QString())
    {
        const QJsonObject note = text.isNull() ? QJsonObject() : QJsonObject{{QStringLiteral("note"), text}};
        return m_backend.data()
            .addPayment(m_projectId, m_accountId, amount, status, note)
            .value(QStringLiteral("id"))
            .toString();
    }
    qsizetype count(const QString &method, const QString &path) const
    {
        return m_backend.requests(method, path).size();
    }
    QJsonObject lastBody(const QString &method, const QString &path) const
    {
        return m_backend.requests(method, path).last().json().toObject();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_accountId = m_backend.data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret")).id;
        const QString token = m_backend.data().issueToken(m_accountId);
        m_client->setTokenProvider([token] { return std::optional<QString>(token); });
    }
    void init()
    {
        m_backend.clearRequests();
        m_backend.clearOverrides();
        m_backend.data().projects.clear();
        m_backend.data().payments.clear();
        m_backend.data().aiSnapshots.clear();
        QJsonObject &project = m_backend.data().addProject(
            m_accountId, {{QStringLiteral("name"), QStringLiteral("Сайт")}, {QStringLiteral("currency"), rub}});
        // The backend counts totals from the lines; the summary's figures are set here.
        project.insert(QStringLiteral("totalHours"), 12.34);
        project.insert(QStringLiteral("totalCost"), 40000);
        m_projectId = project.value(QStringLiteral("id")).toString();
    }

    // The button follows the amount, and only a readable amount is sent, as read.
    void amount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<double>("sent");
        QTest::newRow("decimal comma") << "1,5" << true << 1.5;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("zero") << "0" << true << 0.0;
        QTest::newRow("grouped") << "1.234,5" << false << 0.0;
        QTest::newRow("leading blank") << " 1" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
        QTest::newRow("not a number") << "nan" << false << 0.0;
        // Zero with a sign is zero; the amount goes without one.
        QTest::newRow("negative zero") << "-0" << true << 0.0;
        QTest::newRow("negative zero with comma") << "-0,00" << true << 0.0;
        // Beyond what a double holds exactly the amount would change on its way: not readable.
        QTest::newRow("20 digits") << "12345678901234567890" << false << 0.0;
        QTest::newRow("above 2^53") << "9007199254740993" << false << 0.0;
        QTest::newRow("16 significant digits") << "1234567,890123456" << false << 0.0;
        QTest::newRow("15 significant digits") << "1234567,89012345" << true << 1234567.89012345;
    }
    void amount()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(double, sent);
        auto finance = model();
        finance->setAmountText(text);
        QCOMPARE(finance->amountReadable(), readable);
        await(finance->add());
        QCOMPARE(count(QStringLiteral("POST"), paymentsPath(m_projectId)), readable ? 1 : 0);
        if (readable) {
            const double amount =
                lastBody(QStringLiteral("POST"), paymentsPath(m_projectId)).value(QStringLiteral("amount")).toDouble();
            QCOMPARE(amount, sent);
            // The JSON reader takes "-0" for 0: look at the bytes that went out.
            const QByteArray raw = m_backend.requests(QStringLiteral("POST"), paymentsPath(m_projectId)).last().body;
            if (sent == 0)
                QVERIFY2(!raw.contains("\"amount\":-"), raw.constData());
        }
        QVERIFY(!finance->hasErrorMessage());
    }

    // Empty texts are left out; anything else goes as typed.
    void body_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QJsonValue>("sentMethod");
        QTest::addColumn<QJsonValue>("sentNote");
        const QJsonValue absent(QJsonValue::Undefined);
        QTest::newRow("both empty") << ""
                                    << "" << absent << absent;
        QTest::newRow("note of one blank") << ""
                                           << " " << absent << QJsonValue(QStringLiteral(" "));
        QTest::newRow("untrimmed") << " Карта "
                                   << "аванс\n"
                                   << QJsonValue(QStringLiteral(" Карта ")) << QJsonValue(QStringLiteral("аванс\n"));
    }
    void body()
    {
        QFETCH(QString, method);
        QFETCH(QString, note);
        QFETCH(QJsonValue, sentMethod);
        QFETCH(QJsonValue, sentNote);
        auto finance = model();
        finance->setAmountText(QStringLiteral("100"));
        finance->setMethod(method);
        finance->setNote(note);
        finance->setPaymentStatus(QStringLiteral("received"));
        await(finance->add());
        const QJsonObject sent = lastBody(QStringLiteral("POST"), paymentsPath(m_projectId));
        QCOMPARE(sent.value(QStringLiteral("method")), sentMethod);
        QCOMPARE(sent.value(QStringLiteral("note")), sentNote);
        QCOMPARE(sent.value(QStringLiteral("status")).toString(), QStringLiteral("received"));
        QCOMPARE(sent.value(QStringLiteral("currency")).toString(), rub);
        QVERIFY(!sent.contains(QStringLiteral("externalRef")));
    }

    // Runs under Europe/Moscow: a small hour there is the evening before in UTC, and a day
    // picked in the calendar keeps the time of day the screen was opened at.
    void paidAt()
    {
        const QDateTime opened(QDate(2026, 3, 5), QTime(1, 30, 15, 640), Qt::LocalTime);
        auto finance = model(opened);
        QCOMPARE(finance->paidDateText(), QStringLiteral("5 марта 2026"));
        finance->setAmountText(QStringLiteral("5"));
        await(finance->add());
        QCOMPARE(lastBody(QStringLiteral("POST"), paymentsPath(m_projectId)).value(QStringLiteral("paidAt")).toString(),
                 QStringLiteral("2026-03-04T22:30:15Z"));

        finance->setPaidDay(2026, 5, 10);
        finance->setAmountText(QStringLiteral("5"));
        await(finance->add());
        QCOMPARE(lastBody(QStringLiteral("POST"), paymentsPath(m_projectId)).value(QStringLiteral("paidAt")).toString(),
                 QStringLiteral("2026-06-09T22:30:15Z"));
    }

    // A success clears amount, method and note, keeps status and date, reloads, then tells.
    void addSucceeds()
    {
        auto finance = model();
        QAbstractItemModelTester tester(finance->payments(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        await(finance->reload());
        finance->setAmountText(QStringLiteral("2500"));
        finance->setPaymentStatus(QStringLiteral("cancelled"));
        finance->setPaidDay(2025, 0, 31);
        finance->setMethod(QStringLiteral("Счёт"));
        finance->setNote(QStringLiteral("за январь"));
        int rowsWhenTold = -1;
        connect(finance.get(), &ProjectFinanceModel::paymentsChanged, this,
                [&] { rowsWhenTold = finance->payments()->count(); });
        m_backend.clearRequests();
        await(finance->add());
        QCOMPARE(rowsWhenTold, 1);
        QCOMPARE(count(QStringLiteral("GET"), paymentsPath(m_projectId)), 1);
        QCOMPARE(finance->amountText(), QString());
        QCOMPARE(finance->method(), QString());
        QCOMPARE(finance->note(), QString());
        QCOMPARE(finance->paymentStatus(), QStringLiteral("cancelled"));
        QCOMPARE(finance->paidDateText(), QStringLiteral("31 января 2025"));
        QCOMPARE(finance->historyTitle(), QStringLiteral("История (1)"));
    }

    // A failure shows the backend's text, keeps the form and neither reloads nor tells.
    void addFails()
    {
        auto finance = model();
        await(finance->reload());
        m_backend.setOverride(QStringLiteral("POST"), paymentsPath(m_projectId),
                              BackendReply::message(500, QStringLiteral("Платёж не сохранён")));
        finance->setAmountText(QStringLiteral("10"));
        finance->setMethod(QStringLiteral("Наличные"));
        QSignalSpy told(finance.get(), &ProjectFinanceModel::paymentsChanged);
        m_backend.clearRequests();
        await(finance->add());
        QCOMPARE(finance->errorMessageText(), QStringLiteral("Платёж не сохранён"));
        QCOMPARE(finance->amountText(), QStringLiteral("10"));
        QCOMPARE(finance->method(), QStringLiteral("Наличные"));
        QCOMPARE(count(QStringLiteral("GET"), paymentsPath(m_projectId)), 0);
        QCOMPARE(told.size(), 0);
        QVERIFY(!finance->isAdding());
    }

    // Return in a field and the button's key while the first add is still on the wire.
    void twoReturnsOnePayment()
    {
        auto finance = model();
        await(finance->reload());
        m_backend.setOverride(QStringLiteral("POST"), paymentsPath(m_projectId),
                              BackendReply::json(201,
                                                 QJsonObject{{QStringLiteral("id"), QStringLiteral("pay-x")},
                                                             {QStringLiteral("amount"), 7},
                                                             {QStringLiteral("currency"), rub},
                                                             {QStringLiteral("status"), QStringLiteral("pending")},
                                                             {QStringLiteral("projectId"), m_projectId},
                                                             {QStringLiteral("userId"), m_accountId},
                                                             {QStringLiteral("createdAt"), BackendData::now()},
                                                             {QStringLiteral("updatedAt"), BackendData::now()}})
                                  .after(300));
        finance->setAmountText(QStringLiteral("7"));
        QSignalSpy told(finance.get(), &ProjectFinanceModel::paymentsChanged);
        finance->addPayment();
        QVERIFY(finance->isAdding());
        finance->addPayment();
        QVERIFY(told.wait(5000));
        QCOMPARE(count(QStringLiteral("POST"), paymentsPath(m_projectId)), 1);
        QCOMPARE(told.size(), 1);
    }

    // A status press sends the status alone and reloads and tells whatever the answer; the
    // status a payment already has sends nothing.
    void status_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("patches");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("error");
        QTest::newRow("accepted") << "received" << false << 1 << "received"
                                  << "";
        QTest::newRow("refused") << "received" << true << 1 << "pending"
                                 << "Ошибка сервера";
        QTest::newRow("same status") << "pending" << false << 0 << "pending"
                                     << "";
    }
    void status()
    {
        QFETCH(QString, pressed);
        QFETCH(bool, fails);
        QFETCH(int, patches);
        QFETCH(QString, shown);
        QFETCH(QString, error);
        const QString id = addPayment(300);
        auto finance = model();
        await(finance->reload());
        if (fails)
            m_backend.setOverride(QStringLiteral("PATCH"), paymentPath(id),
                                  BackendReply::message(500, QStringLiteral("Ошибка сервера")));
        QSignalSpy told(finance.get(), &ProjectFinanceModel::paymentsChanged);
        m_backend.clearRequests();
        await(finance->changeStatus(id, pressed));
        QCOMPARE(count(QStringLiteral("PATCH"), paymentPath(id)), patches);
        if (patches)
            QCOMPARE(lastBody(QStringLiteral("PATCH"), paymentPath(id)),
                     QJsonObject({{QStringLiteral("status"), pressed}}));
        QCOMPARE(count(QStringLiteral("GET"), paymentsPath(m_projectId)), patches);
        QCOMPARE(told.size(), patches);
        QCOMPARE(finance->payments()->data(finance->payments()->index(0), PaymentRowsModel::StatusRole).toString(),
                 shown);
        QCOMPARE(finance->errorMessageText(), error);
    }

    // A note of any length reaches the row bounded for its wrapped text.
    void hugeNoteIsBoundedForLayout()
    {
        addPayment(300, QStringLiteral("pending"), QStringLiteral("заметка ").repeated(150000));
        auto finance = model();
        await(finance->reload());
        const QString note =
            finance->payments()->data(finance->payments()->index(0), PaymentRowsModel::NoteRole).toString();
        QVERIFY2(isBoundedForLayout(note), qPrintable(QString::number(note.size())));
        QVERIFY(note.startsWith(QStringLiteral("заметка заметка")) && note.endsWith(QStringLiteral("…")));
    }

    // A deletion reloads and tells; a refused one says so at once and changes nothing else.
    void remove_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("deleted") << false;
        QTest::newRow("refused") << true;
    }
    void remove()
    {
        QFETCH(bool, fails);
        const QString first = addPayment(100);
        addPayment(200, QStringLiteral("received"));
        auto finance = model();
        QAbstractItemModelTester tester(finance->payments(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        await(finance->reload());
        if (fails)
            m_backend.setOverride(QStringLiteral("DELETE"), paymentPath(first),
                                  BackendReply::message(500, QStringLiteral("Не удалось удалить")));
        QSignalSpy told(finance.get(), &ProjectFinanceModel::paymentsChanged);
        QSignalSpy reset(finance->payments(), &QAbstractItemModel::modelReset);
        m_backend.clearRequests();
        await(finance->remove(first));
        QCOMPARE(count(QStringLiteral("GET"), paymentsPath(m_projectId)), fails ? 0 : 1);
        QCOMPARE(told.size(), fails ? 0 : 1);
        QCOMPARE(finance->payments()->count(), fails ? 2 : 1);
        QCOMPARE(finance->errorMessageText(), fails ? QStringLiteral("Не удалось удалить") : QString());
        QCOMPARE(reset.size(), 0);
    }

    // Both fetches are on the wire before either answer; a fetch's failure text stays until
    // the next change clears the service's.
    void reload()
    {
        addPayment(100, QStringLiteral("received"), QStringLiteral("<img src=x>"));
        auto finance = model();
        m_backend.setOverride(QStringLiteral("GET"), paymentsPath(m_projectId),
                              BackendReply::message(500, QStringLiteral("Сбой")));
        m_backend.hold(QStringLiteral("GET"), paymentsPath(m_projectId));
        finance->refresh();
        QVERIFY(finance->isLoading());
        QTRY_COMPARE(count(QStringLiteral("GET"), analyticsPath(m_projectId)), 1);
        QVERIFY(finance->isLoading());
        m_backend.release();
        QTRY_VERIFY(!finance->isLoading());
        QCOMPARE(finance->payments()->count(), 0);
        QCOMPARE(finance->historyTitle(), QStringLiteral("История (0)"));
        QCOMPARE(finance->errorMessageText(), QStringLiteral("Сбой"));
        QVERIFY(finance->hasAnalytics());

        m_backend.clearOverrides();
        await(finance->reload());
        QCOMPARE(finance->payments()->count(), 1);
        QCOMPARE(finance->errorMessageText(), QStringLiteral("Сбой"));
        QCOMPARE(finance->payments()->data(finance->payments()->index(0), PaymentRowsModel::NoteRole).toString(),
                 QStringLiteral("<img src=x>"));
    }

    // The summary in the analytics' currency, hours with one decimal; the delta only with a
    // snapshot.
    void summary()
    {
        m_backend.data().project(m_projectId)->insert(QStringLiteral("currency"), QStringLiteral("USD"));
        m_backend.data().aiSnapshots.insert(m_projectId,
                                            QJsonObject{{QStringLiteral("id"), QStringLiteral("snap-1")},
                                                        {QStringLiteral("createdAt"), BackendData::now()},
                                                        {QStringLiteral("totalHours"), 10},
                                                        {QStringLiteral("totalCost"), 35000},
                                                        {QStringLiteral("requirementsPreview"), QString()}});
        auto finance = model();
        await(finance->reload());
        QCOMPARE(finance->plannedHoursText(), QStringLiteral("12.3"));
        QCOMPARE(finance->plannedCostText(), MoneyFormat::format(40000, QStringLiteral("USD")));
        QCOMPARE(finance->paidText(), MoneyFormat::format(0, QStringLiteral("USD")));
        QVERIFY(finance->hasAiSnapshot());
        QVERIFY(!finance->hasAiPreview());
        QCOMPARE(finance->deltaText(),
                 QStringLiteral("Δ от плана: ") + MoneyFormat::format(5000, QStringLiteral("USD")));
    }

    // An amount a double would hold as another number says why under the field, as the line form
    // does; a text that is no number at all only keeps the button off.
    void amountErrorSaysWhy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error"); // empty: none
        QTest::newRow("20 digits") << "12345678901234567890"
                                   << NumberText::inexactMessage(NumberText::Inexact::TooLarge);
        QTest::newRow("16 significant digits")
            << "1234567,890123456" << NumberText::inexactMessage(NumberText::Inexact::TooManyDigits);
        QTest::newRow("readable") << "1500,5" << QString();
        QTest::newRow("no number") << "1 500" << QString();
        QTest::newRow("empty") << "" << QString();
    }
    void amountErrorSaysWhy()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        auto finance = model();
        finance->setAmountText(text);
        QCOMPARE(finance->amountError().toString(), error);
        QCOMPARE(finance->amountError().isNull(), error.isEmpty());
    }

    // Figures the backend sends as negative zeros, or as what rounds to zero, show as zero.
    void summaryZeroHasNoSign()
    {
        QJsonObject &project = *m_backend.data().project(m_projectId);
        project.insert(QStringLiteral("totalHours"), -0.0);
        project.insert(QStringLiteral("totalCost"), -0.4);
        auto finance = model();
        await(finance->reload());
        QVERIFY(finance->hasAnalytics());
        QCOMPARE(finance->plannedHoursText(), QStringLiteral("0.0"));
        QCOMPARE(finance->plannedCostText(), MoneyFormat::format(0, rub));
        project.insert(QStringLiteral("totalHours"), -0.04);
        await(finance->reload());
        QCOMPARE(finance->plannedHoursText(), QStringLiteral("0.0"));
    }

    // A model that goes while its add is on the wire is left alone by the answer. The add, a
    // change, still runs to its end.
    void lateAnswer()
    {
        auto finance = model();
        m_backend.setOverride(QStringLiteral("POST"), paymentsPath(m_projectId),
                              BackendReply::message(500, QStringLiteral("поздно")).after(200));
        m_backend.hold(QStringLiteral("POST"), paymentsPath(m_projectId));
        finance->setAmountText(QStringLiteral("1"));
        finance->addPayment();
        QTRY_COMPARE(count(QStringLiteral("POST"), paymentsPath(m_projectId)), 1);
        finance.reset();
        m_backend.release();
        QTest::qWait(400);
        QVERIFY(m_backend.abandonedRequests().isEmpty());
    }

    // A model that goes while it loads takes its reads with it.
    void goneMidLoadAbortsItsReads()
    {
        auto finance = model();
        m_backend.setDelay(QStringLiteral("GET"), paymentsPath(m_projectId), 10000);
        QCoro::Task<> loading = finance->reload();
        QTRY_COMPARE(count(QStringLiteral("GET"), paymentsPath(m_projectId)), 1);
        finance.reset();
        await(std::move(loading));
        QTRY_VERIFY(!m_backend.abandonedRequests().isEmpty());
        for (const RecordedRequest &request : m_backend.abandonedRequests())
            QCOMPARE(request.method, QStringLiteral("GET"));
    }

    // The date picker's keys: a day, a week, a month from the focused day, the page following it;
    // a month without that day ends on its last one.
    void calendarKeysMoveTheDay_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("move"); // "days" or "months"
        QTest::addColumn<int>("by");
        QTest::addColumn<QDate>("to");
        QTest::newRow("next day") << QDate(2026, 12, 7) << "days" << 1 << QDate(2026, 12, 8);
        QTest::newRow("week back over a month") << QDate(2026, 12, 3) << "days" << -7 << QDate(2026, 11, 26);
        QTest::newRow("into the next year") << QDate(2026, 12, 31) << "days" << 1 << QDate(2027, 1, 1);
        QTest::newRow("leap day") << QDate(2028, 2, 28) << "days" << 1 << QDate(2028, 2, 29);
        QTest::newRow("month to a shorter one") << QDate(2026, 1, 31) << "months" << 1 << QDate(2026, 2, 28);
        QTest::newRow("month back into last year") << QDate(2026, 1, 15) << "months" << -1 << QDate(2025, 12, 15);
        QTest::newRow("year from a leap day") << QDate(2028, 2, 29) << "months" << 12 << QDate(2029, 2, 28);
    }
    void calendarKeysMoveTheDay()
    {
        QFETCH(QDate, from);
        QFETCH(QString, move);
        QFETCH(int, by);
        QFETCH(QDate, to);
        CalendarPage page;
        page.focusOn(from.year(), from.month() - 1, from.day());
        QCOMPARE(page.focusDate(), from);
        QSignalSpy paged(&page, &CalendarPage::pageChanged);
        if (move == QLatin1String("days"))
            page.moveDays(by);
        else
            page.moveMonths(by);
        QCOMPARE(page.focusDate(), to);
        QCOMPARE(page.year(), to.year());
        QCOMPARE(page.monthIndex(), to.month() - 1);
        QCOMPARE(paged.size(), to.month() == from.month() && to.year() == from.year() ? 0 : 1);
        QVERIFY(page.isFocus(to.year(), to.month() - 1, to.day()));
    }

    // The page buttons and the month carried into the year; the day's and the page's names.
    void calendarPagesAndNames()
    {
        CalendarPage page;
        page.focusOn(2026, 2, 31);
        page.showPrevious();
        QCOMPARE(page.focusDate(), QDate(2026, 2, 28));
        page.show(2026, -1);
        QCOMPARE(page.focusDate(), QDate(2025, 12, 28));
        page.show(2025, 13);
        QCOMPARE(page.focusDate(), QDate(2026, 2, 28));
        QCOMPARE(page.title(), QStringLiteral("Февраль 2026"));
        page.focusOn(2026, 1, 30); // no such day: nothing moves
        QCOMPARE(page.focusDate(), QDate(2026, 2, 28));
        QCOMPARE(page.dayName(2026, 11, 7), QStringLiteral("7 декабря 2026"));
        QCOMPARE(page.dayName(2026, 4, 1), QStringLiteral("1 мая 2026"));
    }
};

QTEST_GUILESS_MAIN(tst_ProjectFinanceModel)
#include "tst_ProjectFinanceModel.moc"
