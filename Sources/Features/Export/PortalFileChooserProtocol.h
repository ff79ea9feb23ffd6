#pragma once

#include "PortalAnswer.h"

#include <QString>
#include <QVariantMap>
#include <QtGui/qwindowdefs.h>
#include <optional>

class QDBusError;

// The desktop's own file dialog, as the XDG desktop portal offers it on the session bus: the
// names, the request for a PDF destination and the reading of its answers.
namespace PortalFileChooserProtocol {

inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
inline const QString chooserInterface = QStringLiteral("org.freedesktop.portal.FileChooser");
inline const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Registers the filter types with Qt's D-Bus marshalling; repeated calls change nothing.
void registerTypes();

// Where the portal will put the request of this connection made with this token, known before
// the call so that its answer cannot come before the subscription to it.
QString requestPath(const QString &uniqueName, const QString &token);

// The window the dialog is modal to: "x11:<hex id>" on X11; elsewhere the portal has nothing it
// can use without more protocol, so none.
QString parentWindow(const QString &platformName, WId window);

QString saveTitle();

// The options of SaveFile: the token, the confirming button's label, modality, the proposed name,
// the folder to start in (skipped when empty) and the PDF filter, chosen.
QVariantMap saveFileOptions(const QString &token, const QString &suggestedName, const QString &folder);

// The answer a Response signal carries: 0 with the chosen URI; 1 (cancelled) and 2 (ended some other
// way) both a cancel; any other code, or 0 without a usable URI, a broken answer that failed.
PortalAnswer answer(uint response, const QVariantMap &results);

// The answer a failed SaveFile call means: no portal or no file chooser in it (unavailable), or a
// failure of the portal.
PortalAnswer callFailed(const QDBusError &error);
bool meansUnavailable(const QString &errorName);

// The portal left the bus while its dialog was open; the dialog may still be on the screen.
PortalAnswer portalLost();

// A name chosen without ".pdf" is saved with the suffix added, as in our own dialog. The portal
// asked about replacing the name it returned, not that one: a file already there is not replaced.
PortalAnswer withoutUnaskedReplacement(const PortalAnswer &answer);

// A dialog answered `chosen` after its save had ended, which saved to `savedPath` or nowhere
// (empty): what the person reads about the place not used. None when that place was saved to.
std::optional<QString> placeNotUsed(const PortalAnswer &chosen, const QString &savedPath);

} // namespace PortalFileChooserProtocol
