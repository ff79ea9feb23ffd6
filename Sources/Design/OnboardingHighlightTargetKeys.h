#pragma once

#include "OnboardingHighlightTarget.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The keys of OnboardingHighlightTarget for QML: views compare `Onboarding.highlight` with these,
// so a misspelt target fails as an unknown property instead of lighting nothing.
class OnboardingHighlightTargetKeys : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(OnboardingHighlightTarget)
    QML_SINGLETON

    Q_PROPERTY(QString editorTableOverview READ editorTableOverview CONSTANT)
    Q_PROPERTY(QString editorTemplatesMenu READ editorTemplatesMenu CONSTANT)
    Q_PROPERTY(QString editorSaveExport READ editorSaveExport CONSTANT)
    Q_PROPERTY(QString paymentsHub READ paymentsHub CONSTANT)
    Q_PROPERTY(QString analyticsHub READ analyticsHub CONSTANT)
    Q_PROPERTY(QString settingsAppearance READ settingsAppearance CONSTANT)
    Q_PROPERTY(QString settingsGuidedTour READ settingsGuidedTour CONSTANT)
    Q_PROPERTY(QString settingsTips READ settingsTips CONSTANT)
    Q_PROPERTY(QString mainNavigation READ mainNavigation CONSTANT)

public:
    using Kind = OnboardingHighlightTarget::Kind;

    explicit OnboardingHighlightTargetKeys(QObject *parent = nullptr);

    static QString key(Kind kind) { return OnboardingHighlightTarget{kind, {}}.key(); }

    QString editorTableOverview() const { return key(Kind::EditorTableOverview); }
    QString editorTemplatesMenu() const { return key(Kind::EditorTemplatesMenu); }
    QString editorSaveExport() const { return key(Kind::EditorSaveExport); }
    QString paymentsHub() const { return key(Kind::PaymentsHub); }
    QString analyticsHub() const { return key(Kind::AnalyticsHub); }
    QString settingsAppearance() const { return key(Kind::SettingsAppearance); }
    QString settingsGuidedTour() const { return key(Kind::SettingsGuidedTour); }
    QString settingsTips() const { return key(Kind::SettingsTips); }
    QString mainNavigation() const { return key(Kind::MainNavigation); }

    // The row of the tour's demo project.
    Q_INVOKABLE QString demoProjectRow(const QString &projectId) const
    {
        return OnboardingHighlightTarget::demoProjectRow(projectId).key();
    }
};
