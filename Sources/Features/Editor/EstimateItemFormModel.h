#pragma once

#include "Models/EditableEstimateItem.h"

#include <QObject>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>
#include <optional>
#include <QtQml/qqmlregistration.h>

// The line form's working copy: the line's texts as typed, the category options of the form's
// sphere, and the finished line on "Готово". Nothing reaches the editor before that.
class EstimateItemFormModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the editor screen")
    Q_PROPERTY(QString sheetTitle READ sheetTitle NOTIFY opened)
    Q_PROPERTY(bool isNew READ isNew NOTIFY opened)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QString description READ description WRITE setDescription NOTIFY descriptionChanged)
    // The title and the description as the fields show them while not edited: cut when very long
    // (Text::boundedMessage), so that only the field being edited lays out the whole text.
    Q_PROPERTY(QString shownTitle READ shownTitle NOTIFY titleChanged)
    Q_PROPERTY(QString shownDescription READ shownDescription NOTIFY descriptionChanged)
    Q_PROPERTY(QString category READ category WRITE setCategory NOTIFY categoryChanged)
    Q_PROPERTY(QString hoursText READ hoursText WRITE setHoursText NOTIFY hoursTextChanged)
    Q_PROPERTY(QString rateText READ rateText WRITE setRateText NOTIFY rateTextChanged)
    Q_PROPERTY(bool isLocked READ isLocked WRITE setIsLocked NOTIFY isLockedChanged)
    // Why the field's number would not be kept as typed; null while it would be.
    Q_PROPERTY(QVariant hoursError READ hoursErrorValue NOTIFY hoursTextChanged)
    Q_PROPERTY(QVariant rateError READ rateErrorValue NOTIFY rateTextChanged)
    Q_PROPERTY(bool canSave READ canSave NOTIFY canSaveChanged)
    Q_PROPERTY(QVariantList categoryOptions READ categoryOptions NOTIFY opened)
    Q_PROPERTY(QString rateTitle READ rateTitle NOTIFY opened)
    Q_PROPERTY(QString defaultRateButtonText READ defaultRateButtonText NOTIFY opened)

public:
    explicit EstimateItemFormModel(QObject *parent = nullptr);

    // Starts over on this line; the texts start as the shortest texts of its numbers.
    void open(const EditableEstimateItem &item, const QString &currency, double defaultRate, const QString &sphereId,
              bool isNew);

    QString sheetTitle() const;
    bool isNew() const { return m_isNew; }
    const QString &title() const { return m_draft.title; }
    void setTitle(const QString &title);
    const QString &description() const { return m_draft.description; }
    void setDescription(const QString &description);
    QString shownTitle() const;
    QString shownDescription() const;
    const QString &category() const { return m_draft.category; }
    void setCategory(const QString &category);
    const QString &hoursText() const { return m_hoursText; }
    void setHoursText(const QString &text);
    const QString &rateText() const { return m_rateText; }
    void setRateText(const QString &text);
    bool isLocked() const { return m_draft.isLocked; }
    void setIsLocked(bool locked);
    const EditableEstimateItem &draft() const { return m_draft; }
    // A text the form put there itself (the line's own number, the default rate) names a number
    // that is already held; only what a person typed is looked at.
    std::optional<QString> hoursError() const;
    std::optional<QString> rateError() const;
    QVariant hoursErrorValue() const;
    QVariant rateErrorValue() const;

    // "Готово" needs a title with something besides spaces and tabs, and hours and a rate that
    // are stored as typed.
    bool canSave() const;
    const QVariantList &categoryOptions() const { return m_categoryOptions; }
    QString rateTitle() const;
    // The default rate whole (toward zero); "0" when it has no whole value.
    QString defaultRateButtonText() const;

    // Puts the default rate's text into the rate field; the line itself is untouched.
    Q_INVOKABLE void useDefaultRate();
    // Finishes the line (numbers read, category normalised with the form's sphere, texts as
    // typed, identity kept) and hands it out through saved(); false while it cannot be saved.
    Q_INVOKABLE bool save();

    // A typed amount, read as the default-rate field reads it ("," as ".", the whole text one
    // number, hexadecimal too); a text that does not read, a negative value and anything not
    // finite give 0.
    static double parseAmount(QStringView text);
    // Why a typed amount is kept out: it reads as a number that is not below zero, but a double
    // holds another one. Nothing for any other text, which parseAmount() reads as it always did.
    static std::optional<QString> amountError(QStringView text);

Q_SIGNALS:
    void opened();
    void titleChanged();
    void canSaveChanged();
    void descriptionChanged();
    void categoryChanged();
    void hoursTextChanged();
    void rateTextChanged();
    void isLockedChanged();
    void saved(const EditableEstimateItem &item);

private:
    EditableEstimateItem m_draft;
    QString m_hoursText;
    QString m_rateText;
    QString m_openedHoursText;
    QString m_openedRateText;
    QString m_currency;
    double m_defaultRate = 0;
    QString m_sphereId;
    bool m_isNew = false;
    QVariantList m_categoryOptions;
};
