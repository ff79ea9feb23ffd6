#pragma once

class QCoreApplication;

// Qt draws some texts of its own: the buttons of standard dialogs, the context menus of text
// fields. The app speaks Russian, so these come from
// Qt's Russian translations in Qt's translations folder.
namespace QtTranslations {

// Installs Qt's Russian translations into the application; false when they are not installed
// (Debian's qt6-translations-l10n), and most of Qt's texts stay English.
bool install(QCoreApplication *application);

} // namespace QtTranslations
