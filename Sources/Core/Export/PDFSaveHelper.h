#pragma once

#include "PDFSaveResult.h"

#include <QString>

// Saving a copy of the rendered proposal where the user chose.
namespace PDFSaveHelper {

// The name proposed in the save dialog for this project.
QString suggestedFilename(const QString &projectName);

// Copies the source over the destination through a temporary file beside it, so that a failed copy
// leaves the file that stood there untouched. A destination that is the source itself succeeds
// without copying.
PDFSaveResult save(const QString &sourcePath, const QString &destinationPath);

} // namespace PDFSaveHelper
