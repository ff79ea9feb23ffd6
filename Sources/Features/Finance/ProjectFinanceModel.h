#pragma once

#include "API/FinanceService.h"
#include "API/ProjectsService.h"
#include "PaymentRowsModel.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <optional>

// The payments screen of one project or iteration: the estimate's summary, the new-payment form
// and the history, with every text formatted here. Owns its FinanceService; loads when the view
// is complete and whenever the project changes. Work that ends after the model is gone touches
// nothing.
class ProjectFinanceModel : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(QString projectId READ projectId WRITE setProjectId NOTIFY projectIdChanged)
    Q_PROPERTY(QString currency READ currency WRITE setCurrency NOTIFY currencyChanged)
    // The finance calls go to the same backend as the projects; the shared client without one.
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessageText NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged)

    Q_PROPERTY(bool hasAnalytics READ hasAnalytics NOTIFY analyticsChanged)
    Q_PROPERTY(QString plannedHoursText READ plannedHoursText NOTIFY analyticsChanged)
    Q_PROPERTY(QString plannedCostText READ plannedCostText NOTIFY analyticsChanged)
    Q_PROPERTY(QString paidText READ paidText NOTIFY analyticsChanged)
    Q_PROPERTY(bool hasAiSnapshot READ hasAiSnapshot NOTIFY analyticsChanged)
    Q_PROPERTY(QString aiSnapshotCostText READ aiSnapshotCostText NOTIFY analyticsChanged)
    Q_PROPERTY(QString aiPreview READ aiPreview NOTIFY analyticsChanged)
    Q_PROPERTY(bool hasAiPreview READ hasAiPreview NOTIFY analyticsChanged)
    Q_PROPERTY(bool hasDelta READ hasDelta NOTIFY analyticsChanged)
    Q_PROPERTY(QString deltaText READ deltaText NOTIFY analyticsChanged)

    Q_PROPERTY(PaymentRowsModel *payments READ payments CONSTANT)
    Q_PROPERTY(QString historyTitle READ historyTitle NOTIFY historyChanged)

    Q_PROPERTY(QString amountText READ amountText WRITE setAmountText NOTIFY amountTextChanged)
    Q_PROPERTY(bool amountReadable READ amountReadable NOTIFY amountTextChanged)
    // Why a typed amount would not be recorded as typed; null while it would be, or is no number.
    Q_PROPERTY(QVariant amountError READ amountError NOTIFY amountTextChanged)
    Q_PROPERTY(bool isAdding READ isAdding NOTIFY isAddingChanged)
    // Raw value of the next payment's status.
    Q_PROPERTY(QString paymentStatus READ paymentStatus WRITE setPaymentStatus NOTIFY paymentStatusChanged)
    // The statuses in picker order, as SelectOption values.
    Q_PROPERTY(QVariantList statusOptions READ statusOptions CONSTANT)
    Q_PROPERTY(int paidYear READ paidYear NOTIFY paidAtChanged)
    // January is 0, as the month grid counts.
    Q_PROPERTY(int paidMonthIndex READ paidMonthIndex NOTIFY paidAtChanged)
    Q_PROPERTY(int paidDay READ paidDay NOTIFY paidAtChanged)
    Q_PROPERTY(QString paidDateText READ paidDateText NOTIFY paidAtChanged)
    Q_PROPERTY(QString method READ method WRITE setMethod NOTIFY methodChanged)
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY noteChanged)

public:
    // On the shared REST client; the next payment is dated now.
    explicit ProjectFinanceModel(QObject *parent = nullptr);
    ProjectFinanceModel(APIClient &api, QDateTime now, QObject *parent = nullptr);

    void classBegin() override {}
    void componentComplete() override;

    QString projectId() const { return m_projectId; }
    void setProjectId(const QString &id);
    QString currency() const { return m_currency; }
    void setCurrency(const QString &currency);
    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);
    FinanceService *finance() const { return m_finance; }

    bool isLoading() const { return m_isLoading; }
    QString errorMessageText() const { return m_errorMessage.value_or(QString()); }
    bool hasErrorMessage() const { return m_errorMessage.has_value(); }

    const std::optional<EstimateAnalytics> &analytics() const { return m_analytics; }
    bool hasAnalytics() const { return m_analytics.has_value(); }
    QString plannedHoursText() const;
    QString plannedCostText() const;
    QString paidText() const;
    bool hasAiSnapshot() const { return m_analytics && m_analytics->lastAiSnapshot; }
    QString aiSnapshotCostText() const;
    QString aiPreview() const;
    bool hasAiPreview() const { return !aiPreview().isEmpty(); }
    // The delta is part of the snapshot's block: without a snapshot there is none.
    bool hasDelta() const { return hasAiSnapshot() && m_analytics->deltaFromAi; }
    QString deltaText() const;

    PaymentRowsModel *payments() const { return m_payments; }
    QString historyTitle() const;

    QString amountText() const { return m_amountText; }
    void setAmountText(const QString &text);
    bool amountReadable() const;
    QVariant amountError() const;
    bool isAdding() const { return m_isAdding; }
    QString paymentStatus() const { return rawValue(m_paymentStatus); }
    void setPaymentStatus(const QString &raw);
    static QVariantList statusOptions();
    const QDateTime &paidAt() const { return m_paidAt; }
    int paidYear() const { return m_paidAt.date().year(); }
    int paidMonthIndex() const { return m_paidAt.date().month() - 1; }
    int paidDay() const { return m_paidAt.date().day(); }
    QString paidDateText() const;
    QString method() const { return m_method; }
    void setMethod(const QString &method);
    QString note() const { return m_note; }
    void setNote(const QString &note);

    // The form's date in UTC with whole seconds: "2026-03-04T22:30:00Z".
    static QString wireDate(const QDateTime &moment);

    // Payments, then analytics, both requested at once; only the latest reload applies.
    QCoro::Task<void> reload();
    // Records the form as a new payment; nothing while the amount does not read or an add is
    // still in flight.
    QCoro::Task<void> add();
    QCoro::Task<void> changeStatus(QString paymentId, QString status);
    QCoro::Task<void> remove(QString paymentId);

    Q_INVOKABLE void refresh();
    // A refresh with the keyboard in that payment's row, on its status (onStatus) or its delete
    // button: keyboardPlaceShown puts it back there once the history shows again, or on the
    // payment after it (else the one before) when the payment is gone.
    Q_INVOKABLE void refreshKeepingPlace(const QString &paymentId, bool onStatus);
    Q_INVOKABLE void addPayment();
    // Another day for the next payment, at the same time of day.
    Q_INVOKABLE void setPaidDay(int year, int monthIndex, int day);
    // Pressing the status a payment already has sends nothing.
    Q_INVOKABLE void setStatusOf(const QString &paymentId, const QString &status);
    Q_INVOKABLE void deletePayment(const QString &paymentId);

Q_SIGNALS:
    void projectIdChanged();
    void currencyChanged();
    void projectsServiceChanged();
    void isLoadingChanged();
    void errorMessageChanged();
    void analyticsChanged();
    void historyChanged();
    void amountTextChanged();
    void isAddingChanged();
    void paymentStatusChanged();
    void paidAtChanged();
    void methodChanged();
    void noteChanged();
    // A payment was added, deleted or re-stated (whether the backend took the change or not).
    void paymentsChanged();
    // The backend took the new payment, and the history shows it.
    void paymentAdded();
    // The history that follows a delete or a status change is shown: the keyboard's place in it
    // is the row's status control (onStatus) or its delete button; the new payment's form when
    // row is -1 (the history is empty).
    void keyboardPlaceShown(int row, bool onStatus);

private:
    static QCoro::Task<void> reloadFor(QPointer<ProjectFinanceModel> self, quint64 generation);
    static QCoro::Task<void> addFor(QPointer<ProjectFinanceModel> self);
    static QCoro::Task<void> changeStatusFor(QPointer<ProjectFinanceModel> self, QString paymentId, QString status);
    static QCoro::Task<void> removeFor(QPointer<ProjectFinanceModel> self, QString paymentId);

    void setLoading(bool loading);
    void setAdding(bool adding);
    void setErrorMessage(std::optional<QString> message);
    QString money(double amount) const;
    // Once a reload shows the history: the keyboard's place asked for by the last delete or
    // status change, if any.
    void showKeyboardPlace();

    // The payments the keyboard goes on to after a delete, a status change or a refresh, the
    // first one still listed; none listed is the form.
    struct KeyboardPlace
    {
        QStringList paymentIds;
        bool onStatus = false;
    };
    // The payment (with `self`), then the one listed after it and the one before.
    KeyboardPlace placeAround(const QString &paymentId, bool self) const;

    FinanceService *m_finance = nullptr;
    QPointer<ProjectsService> m_projectsService;
    PaymentRowsModel *m_payments = nullptr;
    QString m_projectId;
    QString m_currency;
    bool m_complete = false;
    quint64 m_generation = 0;
    bool m_isLoading = true;
    bool m_isAdding = false;
    std::optional<QString> m_errorMessage;
    std::optional<EstimateAnalytics> m_analytics;
    std::optional<KeyboardPlace> m_keyboardPlace;
    QString m_amountText;
    PaymentStatus m_paymentStatus = PaymentStatus::Pending;
    QDateTime m_paidAt;
    QString m_method;
    QString m_note;
};
