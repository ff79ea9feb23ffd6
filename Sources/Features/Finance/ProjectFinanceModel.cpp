#include "ProjectFinanceModel.h"
#include "SelectOption.h"

#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"

#include <QLocale>
#include <QTimeZone>
#include <QVariantMap>

#include <utility>

ProjectFinanceModel::ProjectFinanceModel(QObject *parent)
    : ProjectFinanceModel(APIClient::shared(), QDateTime::currentDateTime(), parent)
{
}

ProjectFinanceModel::ProjectFinanceModel(APIClient &api, QDateTime now, QObject *parent)
    : QObject(parent)
    , m_finance(new FinanceService(api, this))
    , m_payments(new PaymentRowsModel(this))
    , m_paidAt(std::move(now))
{
    connect(m_payments, &PaymentRowsModel::countChanged, this, &ProjectFinanceModel::historyChanged);
}

void ProjectFinanceModel::componentComplete()
{
    m_complete = true;
    refresh();
}

void ProjectFinanceModel::setProjectId(const QString &id)
{
    if (m_projectId == id)
        return;
    m_projectId = id;
    m_keyboardPlace.reset();
    Q_EMIT projectIdChanged();
    // The form keeps its values for the next project.
    if (m_complete)
        refresh();
}

void ProjectFinanceModel::setCurrency(const QString &currency)
{
    if (m_currency == currency)
        return;
    m_currency = currency;
    Q_EMIT currencyChanged();
}

void ProjectFinanceModel::setProjectsService(ProjectsService *service)
{
    if (m_projectsService == service)
        return;
    m_projectsService = service;
    if (service && &service->api() != &m_finance->api()) {
        // Work in flight on the old service ends unheard; its model checks still hold.
        m_finance->deleteLater();
        m_finance = new FinanceService(service->api(), this);
    }
    Q_EMIT projectsServiceChanged();
}

QString ProjectFinanceModel::money(double amount) const
{
    return MoneyFormat::format(amount, m_analytics ? m_analytics->currency : m_currency);
}

QString ProjectFinanceModel::plannedHoursText() const
{
    return m_analytics ? NumberText::fixed(m_analytics->planned.totalHours, 1) : QString();
}

QString ProjectFinanceModel::plannedCostText() const
{
    return m_analytics ? money(m_analytics->planned.totalCost) : QString();
}

QString ProjectFinanceModel::paidText() const
{
    return m_analytics ? money(m_analytics->paid.receivedTotal) : QString();
}

QString ProjectFinanceModel::aiSnapshotCostText() const
{
    return hasAiSnapshot() ? money(m_analytics->lastAiSnapshot->totalCost) : QString();
}

QString ProjectFinanceModel::aiPreview() const
{
    return hasAiSnapshot() ? m_analytics->lastAiSnapshot->requirementsPreview.value_or(QString()) : QString();
}

QString ProjectFinanceModel::deltaText() const
{
    return hasDelta() ? QStringLiteral("Δ от плана: ") + money(m_analytics->deltaFromAi->cost) : QString();
}

QString ProjectFinanceModel::historyTitle() const
{
    return QStringLiteral("История (%1)").arg(m_payments->count());
}

void ProjectFinanceModel::setAmountText(const QString &text)
{
    if (m_amountText == text)
        return;
    m_amountText = text;
    Q_EMIT amountTextChanged();
}

bool ProjectFinanceModel::amountReadable() const
{
    return NumberText::parseExactDecimal(m_amountText).has_value();
}

QVariant ProjectFinanceModel::amountError() const
{
    const std::optional<double> value = NumberText::parseDecimal(m_amountText);
    const std::optional<NumberText::Inexact> reason =
        value ? NumberText::inexactness(m_amountText, *value) : std::nullopt;
    return reason ? QVariant(NumberText::inexactMessage(*reason)) : QVariant();
}

void ProjectFinanceModel::setPaymentStatus(const QString &raw)
{
    const std::optional<PaymentStatus> status = paymentStatusFromRaw(raw);
    if (!status || *status == m_paymentStatus)
        return;
    m_paymentStatus = *status;
    Q_EMIT paymentStatusChanged();
}

QVariantList ProjectFinanceModel::statusOptions()
{
    QVariantList options;
    for (const PaymentStatus status : allPaymentStatuses)
        options.append(SelectOption::of(rawValue(status), label(status)));
    return options;
}

QString ProjectFinanceModel::paidDateText() const
{
    return QLocale(QLocale::Russian, QLocale::Russia).toString(m_paidAt.date(), QStringLiteral("d MMMM yyyy"));
}

void ProjectFinanceModel::setPaidDay(int year, int monthIndex, int day)
{
    const QDate date(year, monthIndex + 1, day);
    if (!date.isValid() || date == m_paidAt.date())
        return;
    m_paidAt = QDateTime(date, m_paidAt.time(), m_paidAt.timeSpec());
    Q_EMIT paidAtChanged();
}

void ProjectFinanceModel::setMethod(const QString &method)
{
    if (m_method == method)
        return;
    m_method = method;
    Q_EMIT methodChanged();
}

void ProjectFinanceModel::setNote(const QString &note)
{
    if (m_note == note)
        return;
    m_note = note;
    Q_EMIT noteChanged();
}

QString ProjectFinanceModel::wireDate(const QDateTime &moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

void ProjectFinanceModel::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged();
}

void ProjectFinanceModel::setAdding(bool adding)
{
    if (m_isAdding == adding)
        return;
    m_isAdding = adding;
    Q_EMIT isAddingChanged();
}

void ProjectFinanceModel::setErrorMessage(std::optional<QString> message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = std::move(message);
    Q_EMIT errorMessageChanged();
}

QCoro::Task<void> ProjectFinanceModel::reload()
{
    return reloadFor(this, ++m_generation);
}

QCoro::Task<void> ProjectFinanceModel::reloadFor(QPointer<ProjectFinanceModel> self, quint64 generation)
{
    self->setLoading(true);
    self->setErrorMessage(std::nullopt);
    QPointer<FinanceService> finance = self->m_finance;
    const QString projectId = self->m_projectId;
    // Both requests are on the wire before either answer is awaited.
    QCoro::Task<QList<Payment>> paymentsPending = finance->fetchPayments(projectId);
    QCoro::Task<std::optional<EstimateAnalytics>> analyticsPending = finance->fetchAnalytics(projectId);

    QList<Payment> payments = co_await std::move(paymentsPending);
    if (!self || generation != self->m_generation) {
        const std::optional<EstimateAnalytics> dropped = co_await std::move(analyticsPending);
        Q_UNUSED(dropped);
        co_return;
    }
    self->m_payments->setPayments(std::move(payments));

    std::optional<EstimateAnalytics> analytics = co_await std::move(analyticsPending);
    if (!self || generation != self->m_generation)
        co_return;
    self->m_analytics = std::move(analytics);
    Q_EMIT self->analyticsChanged();
    if (finance && finance->errorMessage())
        self->setErrorMessage(finance->errorMessage());
    self->setLoading(false);
    if (self)
        self->showKeyboardPlace();
}

void ProjectFinanceModel::showKeyboardPlace()
{
    if (!m_keyboardPlace)
        return;
    const KeyboardPlace place = *std::exchange(m_keyboardPlace, std::nullopt);
    for (const QString &paymentId : place.paymentIds) {
        const int row = m_payments->rowOf(paymentId);
        if (row >= 0) {
            Q_EMIT keyboardPlaceShown(row, place.onStatus);
            return;
        }
    }
    Q_EMIT keyboardPlaceShown(-1, false);
}

void ProjectFinanceModel::refresh()
{
    // Runs on by itself; the pointer checks inside cover the model's end.
    QCoro::Task<void> running = reload();
    Q_UNUSED(running);
}

void ProjectFinanceModel::refreshKeepingPlace(const QString &paymentId, bool onStatus)
{
    KeyboardPlace place = placeAround(paymentId, true);
    place.onStatus = onStatus;
    if (!place.paymentIds.isEmpty())
        m_keyboardPlace = std::move(place);
    refresh();
}

ProjectFinanceModel::KeyboardPlace ProjectFinanceModel::placeAround(const QString &paymentId, bool self) const
{
    KeyboardPlace place;
    const QList<Payment> &listed = m_payments->rows();
    const int row = m_payments->rowOf(paymentId);
    if (row < 0)
        return place;
    if (self)
        place.paymentIds.append(paymentId);
    if (row + 1 < listed.size())
        place.paymentIds.append(listed.at(row + 1).id);
    if (row > 0)
        place.paymentIds.append(listed.at(row - 1).id);
    return place;
}

QCoro::Task<void> ProjectFinanceModel::add()
{
    return addFor(this);
}

void ProjectFinanceModel::addPayment()
{
    QCoro::Task<void> running = add();
    Q_UNUSED(running);
}

QCoro::Task<void> ProjectFinanceModel::addFor(QPointer<ProjectFinanceModel> self)
{
    // The button and Return are one action: a second press while one is in flight does nothing.
    if (self->m_isAdding)
        co_return;
    const std::optional<double> amount = NumberText::parseExactDecimal(self->m_amountText);
    if (!amount)
        co_return;
    CreatePaymentRequest body;
    body.amount = *amount;
    body.currency = self->m_currency;
    body.paidAt = wireDate(self->m_paidAt);
    body.status = self->m_paymentStatus;
    // Sent as typed: a method of blanks is still a method.
    if (!self->m_method.isEmpty())
        body.method = self->m_method;
    if (!self->m_note.isEmpty())
        body.note = self->m_note;

    self->setAdding(true);
    QPointer<FinanceService> finance = self->m_finance;
    QCoro::Task<std::optional<Payment>> pending = finance->createPayment(self->m_projectId, std::move(body));
    const std::optional<Payment> created = co_await std::move(pending);
    if (!self)
        co_return;
    self->setAdding(false);
    if (!created) {
        self->setErrorMessage(finance ? finance->errorMessage() : std::nullopt);
        co_return;
    }
    self->setAmountText(QString());
    self->setMethod(QString());
    self->setNote(QString());
    QCoro::Task<void> reloading = self->reload();
    co_await std::move(reloading);
    if (!self)
        co_return;
    Q_EMIT self->paymentAdded();
    Q_EMIT self->paymentsChanged();
}

QCoro::Task<void> ProjectFinanceModel::changeStatus(QString paymentId, QString status)
{
    return changeStatusFor(this, std::move(paymentId), std::move(status));
}

void ProjectFinanceModel::setStatusOf(const QString &paymentId, const QString &status)
{
    QCoro::Task<void> running = changeStatus(paymentId, status);
    Q_UNUSED(running);
}

QCoro::Task<void> ProjectFinanceModel::changeStatusFor(QPointer<ProjectFinanceModel> self, QString paymentId,
                                                       QString status)
{
    const std::optional<PaymentStatus> next = paymentStatusFromRaw(status);
    const Payment *stored = self->m_payments->find(paymentId);
    if (!next || (stored && stored->status == *next))
        co_return;
    UpdatePaymentRequest body;
    body.status = *next;
    QPointer<FinanceService> finance = self->m_finance;
    QCoro::Task<std::optional<Payment>> pending = finance->updatePayment(paymentId, std::move(body));
    const std::optional<Payment> answer = co_await std::move(pending);
    Q_UNUSED(answer);
    if (!self)
        co_return;
    // The reload hides the history: the keyboard comes back to this payment's status.
    self->m_keyboardPlace = KeyboardPlace{{paymentId}, true};
    // Whatever the answer, the list shows what the backend holds now.
    QCoro::Task<void> reloading = self->reload();
    co_await std::move(reloading);
    if (self)
        Q_EMIT self->paymentsChanged();
}

QCoro::Task<void> ProjectFinanceModel::remove(QString paymentId)
{
    return removeFor(this, std::move(paymentId));
}

void ProjectFinanceModel::deletePayment(const QString &paymentId)
{
    QCoro::Task<void> running = remove(paymentId);
    Q_UNUSED(running);
}

QCoro::Task<void> ProjectFinanceModel::removeFor(QPointer<ProjectFinanceModel> self, QString paymentId)
{
    // The keyboard goes on to the payment below the deleted one, else the one above, as listed now.
    KeyboardPlace place = self->placeAround(paymentId, false);
    QPointer<FinanceService> finance = self->m_finance;
    QCoro::Task<bool> pending = finance->deletePayment(paymentId);
    const bool deleted = co_await std::move(pending);
    if (!self)
        co_return;
    if (!deleted) {
        // Said at once, not only at the next reload.
        self->setErrorMessage(finance ? finance->errorMessage() : std::nullopt);
        co_return;
    }
    self->m_keyboardPlace = std::move(place);
    QCoro::Task<void> reloading = self->reload();
    co_await std::move(reloading);
    if (self)
        Q_EMIT self->paymentsChanged();
}
