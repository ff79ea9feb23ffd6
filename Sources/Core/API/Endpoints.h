#pragma once

#include <QString>

// Every backend path, relative to the base URL. Identifiers go in unchanged, without escaping.
namespace Endpoints {

inline QString login()
{
    return QStringLiteral("auth/login");
}
inline QString registration()
{
    return QStringLiteral("auth/register");
}
// token must already be escaped as a query value.
inline QString verifyEmail(const QString &encodedToken)
{
    return QStringLiteral("auth/verify-email?token=") + encodedToken;
}
inline QString forgotPassword()
{
    return QStringLiteral("auth/forgot-password");
}
inline QString resetPassword()
{
    return QStringLiteral("auth/reset-password");
}
inline QString logout()
{
    return QStringLiteral("auth/logout");
}
inline QString profile()
{
    return QStringLiteral("users/profile");
}

inline QString projects()
{
    return QStringLiteral("projects");
}
inline QString projectsFull()
{
    return QStringLiteral("projects?view=full");
}
inline QString project(const QString &id)
{
    return QStringLiteral("projects/") + id;
}
inline QString iterate(const QString &id)
{
    return project(id) + QStringLiteral("/iterate");
}
inline QString iterations(const QString &id)
{
    return project(id) + QStringLiteral("/iterations");
}
inline QString summary(const QString &id)
{
    return project(id) + QStringLiteral("/summary");
}
inline QString estimateAnalytics(const QString &id)
{
    return project(id) + QStringLiteral("/estimate-analytics");
}
inline QString payments(const QString &projectId)
{
    return project(projectId) + QStringLiteral("/payments");
}
inline QString payment(const QString &paymentId)
{
    return QStringLiteral("projects/payments/") + paymentId;
}

inline QString aiGenerate()
{
    return QStringLiteral("ai/generate");
}

} // namespace Endpoints
