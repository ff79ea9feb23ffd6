#pragma once

#include <QList>
#include <QString>
#include <optional>

// The four sections of the main window, in sidebar order.
enum class AppSection { Projects, Payments, Analytics, Settings };

namespace AppSections {
QList<AppSection> allCases();
QString rawValue(AppSection section);
QString title(AppSection section);
QString icon(AppSection section);
// Exactly the four raw values; no trimming, case-sensitive.
std::optional<AppSection> fromRawValue(const QString &raw);
}
