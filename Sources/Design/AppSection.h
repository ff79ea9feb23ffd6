#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// The four sections of the main window, in the sidebar's order.
enum class AppSection { Projects, Payments, Analytics, Settings };

QList<AppSection> allAppSections();
QString rawValue(AppSection section);
QString title(AppSection section);
QString icon(AppSection section);
// Exactly the four raw values, case-sensitive and untrimmed; none for any other text.
std::optional<AppSection> appSectionFromRaw(QStringView raw);
