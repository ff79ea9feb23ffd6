#pragma once

#include "ThemeColor.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The one source of colours and corner radii. Each colour keeps its light and dark value; the
// properties give the value of the current appearance, which follows `preference` ("light",
// "dark", anything else = the system's) and `systemDark`, read once from the platform at start.
class AppTheme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QString preference READ preference WRITE setPreference NOTIFY preferenceChanged)
    Q_PROPERTY(bool systemDark READ systemDark WRITE setSystemDark NOTIFY systemDarkChanged)
    Q_PROPERTY(bool dark READ isDark NOTIFY appearanceChanged)

    Q_PROPERTY(QColor primary READ primary NOTIFY appearanceChanged)
    Q_PROPERTY(QColor accent READ accent NOTIFY appearanceChanged)
    Q_PROPERTY(QColor background READ background NOTIFY appearanceChanged)
    Q_PROPERTY(QColor surface READ background NOTIFY appearanceChanged)
    Q_PROPERTY(QColor cardBackground READ cardBackground NOTIFY appearanceChanged)
    Q_PROPERTY(QColor paper READ cardBackground NOTIFY appearanceChanged)
    Q_PROPERTY(QColor deepBlack READ deepBlack NOTIFY appearanceChanged)
    Q_PROPERTY(QColor textSecondary READ textSecondary NOTIFY appearanceChanged)
    Q_PROPERTY(QColor fieldBackground READ fieldBackground NOTIFY appearanceChanged)
    Q_PROPERTY(QColor border READ border NOTIFY appearanceChanged)
    Q_PROPERTY(QColor cardShadow READ cardShadow NOTIFY appearanceChanged)
    Q_PROPERTY(QColor error READ error NOTIFY appearanceChanged)
    Q_PROPERTY(QColor success READ success NOTIFY appearanceChanged)
    // The platform orange of unsaved-change marks and warning banners.
    Q_PROPERTY(QColor warning READ warning NOTIFY appearanceChanged)

    Q_PROPERTY(qreal cornerRadiusLarge MEMBER CornerRadiusLarge CONSTANT)
    Q_PROPERTY(qreal cornerRadiusMedium MEMBER CornerRadiusMedium CONSTANT)
    Q_PROPERTY(qreal cornerRadiusSmall MEMBER CornerRadiusSmall CONSTANT)

public:
    enum class Role {
        Primary,
        Accent,
        Background,
        Surface,
        CardBackground,
        Paper,
        DeepBlack,
        TextSecondary,
        FieldBackground,
        Border,
        CardShadow,
        Error,
        Success,
        Warning,
    };

    static constexpr qreal CornerRadiusLarge = 20;
    static constexpr qreal CornerRadiusMedium = 16;
    static constexpr qreal CornerRadiusSmall = 11;

    explicit AppTheme(QObject *parent = nullptr);
    // For tests: a theme whose system appearance is given instead of detected.
    AppTheme(bool systemDark, QObject *parent);

    static ThemeColor color(Role role);
    static bool resolvesDark(const QString &preference, bool systemDark);
    // The platform's appearance: a dark window colour in the application palette means dark.
    static bool detectSystemDark();

    QString preference() const { return m_preference; }
    void setPreference(const QString &preference);
    bool systemDark() const { return m_systemDark; }
    void setSystemDark(bool systemDark);
    bool isDark() const { return resolvesDark(m_preference, m_systemDark); }

    QColor resolved(Role role) const { return color(role).resolved(isDark()); }
    QColor primary() const { return resolved(Role::Primary); }
    QColor accent() const { return resolved(Role::Accent); }
    QColor background() const { return resolved(Role::Background); }
    QColor cardBackground() const { return resolved(Role::CardBackground); }
    QColor deepBlack() const { return resolved(Role::DeepBlack); }
    QColor textSecondary() const { return resolved(Role::TextSecondary); }
    QColor fieldBackground() const { return resolved(Role::FieldBackground); }
    QColor border() const { return resolved(Role::Border); }
    QColor cardShadow() const { return resolved(Role::CardShadow); }
    QColor error() const { return resolved(Role::Error); }
    QColor success() const { return resolved(Role::Success); }
    QColor warning() const { return resolved(Role::Warning); }

    // `color` with its alpha multiplied by `opacity`, for the translucent fills the views draw.
    Q_INVOKABLE static QColor withOpacity(const QColor &color, qreal opacity);
    // A text in `color` (a category's or a status's) that keeps 4.5:1 on the screen, card and
    // field colours of the appearance, each under a fill of `color` at `fillOpacity` (the capsule
    // of a badge): `color` itself, or the nearest darker (light) or lighter (dark) shade of it.
    // Views pass the appearance so that their bindings follow it.
    Q_INVOKABLE static QColor readableText(const QColor &color, qreal fillOpacity, bool dark);

Q_SIGNALS:
    void preferenceChanged();
    void systemDarkChanged();
    void appearanceChanged();

private:
    void updateAppearance(bool wasDark);

    QString m_preference = QStringLiteral("system");
    bool m_systemDark = false;
};
