#pragma once

#include <QtQml/qqmlextensionplugin.h>

// The app's QML modules are static: a process that shows the app's QML includes this once, in
// the file of its main(), so that the linker keeps every module's registrations.
Q_IMPORT_QML_PLUGIN(Tessmark_ServicesPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_ExportPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_EditorPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_ProjectsPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_OnboardingPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_AuthPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_AnalyticsPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_FinancePlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_SettingsPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_AppPlugin)
