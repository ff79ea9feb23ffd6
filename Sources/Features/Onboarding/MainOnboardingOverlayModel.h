#pragma once

#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

// The tour overlay's rules: which step it shows, which buttons it offers, how the tour ends.
// The step belongs to the host: the model asks for changes through stepRequested and is told
// the current value through `step`.
class MainOnboardingOverlayModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(int step READ step WRITE setStep NOTIFY stepChanged)
    Q_PROPERTY(bool dontShowAgain READ dontShowAgain WRITE setDontShowAgain NOTIFY dontShowAgainChanged)
    Q_PROPERTY(int completedVersion READ completedVersion NOTIFY completedVersionChanged)
    Q_PROPERTY(bool shown READ shown NOTIFY completedVersionChanged)
    Q_PROPERTY(int stepCount READ stepCount CONSTANT)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY stepChanged)
    Q_PROPERTY(bool isLast READ isLast NOTIFY stepChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY stepChanged)
    Q_PROPERTY(QString badge READ badge NOTIFY stepChanged)
    Q_PROPERTY(QString title READ title NOTIFY stepChanged)
    Q_PROPERTY(QString body READ body NOTIFY stepChanged)
    // "Шаг 3 из 10", and what a reader hears of the card beside its title: the text and that.
    Q_PROPERTY(QString stepText READ stepText NOTIFY stepChanged)
    Q_PROPERTY(QString spokenDescription READ spokenDescription NOTIFY stepChanged)

public:
    explicit MainOnboardingOverlayModel(QObject *parent = nullptr);

    int step() const { return m_step; }
    void setStep(int step);
    bool dontShowAgain() const { return m_dontShowAgain; }
    void setDontShowAgain(bool on);
    int completedVersion() const { return m_completedVersion; }
    bool shown() const;
    int stepCount() const;
    // The step index clamped to the table.
    int currentIndex() const;
    bool isLast() const;
    bool canGoBack() const { return m_step >= 1; }
    QString badge() const;
    QString title() const;
    QString body() const;
    QString stepText() const;
    QString spokenDescription() const;
    // A progress dot's name: "Шаг " and the step's number from 1.
    Q_INVOKABLE QString dotName(int index) const;

    // The step card's frame in an area of the given size: beside the lit frame, never over it.
    Q_INVOKABLE QRectF cardFrame(bool hasTarget, const QRectF &target, const QSizeF &card, const QSizeF &area) const;

    Q_INVOKABLE void back();
    Q_INVOKABLE void next();
    Q_INVOKABLE void goTo(int step);
    Q_INVOKABLE void skip();
    Q_INVOKABLE void done();
    // Stores the finished version only when asked to and the switch is on; then step 0, switch on,
    // and the tour closes for this run either way.
    Q_INVOKABLE void finish(bool markCompleted);

Q_SIGNALS:
    void stepChanged();
    void dontShowAgainChanged();
    void completedVersionChanged();
    void stepRequested(int step);
    void closeRequested();

private:
    int m_step = 0;
    bool m_dontShowAgain = true;
    int m_completedVersion = 0;
};
