#pragma once

#include "PDFSaveResult.h"

#include <QString>
#include <QUrl>
#include <optional>

// Saving a copy of the rendered proposal where the user chose.
namespace PDFSaveHelper {

// The name proposed in the save dialog for this project.
QString suggestedFilename(const QString &projectName);

// The folder the save dialog starts in: the documents folder when it exists, else the home folder.
QString startFolder();

// The local file a save dialog's answer names, whatever form it comes in: a file URL (with an
// empty or "localhost" host, or relative), or a bare path put into a URL as it stands (the Qt
// Quick dialog's edited name), where "#" and "?" belong to the name. A relative path lies in
// `folder`. The name always ends in ".pdf", as only PDF files are offered. None when the answer is
// not a file on this computer.
std::optional<QString> destinationPath(const QUrl &chosen, const QString &folder);

// The text shown when the answer is not a file on this computer.
QString notLocalFileText();

// Copies the source over the destination through a temporary file beside it, so that a failed copy
// leaves the file that stood there untouched. A destination that is the source itself succeeds
// without copying. A failure is told in Russian from the errno of the call that failed (a name too
// long, no rights, a read-only or full disk, ...), with the path it concerns cut to a bounded
// length; never with the system's own text.
PDFSaveResult save(const QString &sourcePath, const QString &destinationPath);

} // namespace PDFSaveHelper
