#pragma once

#include "CommercialProposalInput.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QString>
#include <optional>
#include <stop_token>

// Renders the proposal and writes it to the user's temporary folder. Synchronous; it may run on a
// worker thread once the bundled font is registered (PDFTypography::family() on the GUI thread).
namespace CommercialProposalPDF {

// Shown when the proposal could not be created or written.
QString creationErrorText();

// The document's title in its metadata: "Коммерческое предложение — <project>".
QString documentTitle(const CommercialProposalInput &input);

// The whole proposal as PDF bytes, dated today. A stop requested meanwhile abandons it between two
// lines of the estimate: no bytes.
QByteArray render(const CommercialProposalInput &input, const QDate &today, std::stop_token stop = {});

// Renders and writes "KP-<name>.pdf" into a new render folder of the per-user folder under
// tempBase; the file's path, or none when it could not be written or was abandoned (nothing is
// written then).
std::optional<QString> generate(const CommercialProposalInput &input, const QDate &today = QDate::currentDate(),
                                const QString &tempBase = QDir::tempPath(), std::stop_token stop = {});

// Writes the bytes to a new render folder, in a file named after the project; all or nothing.
// Renders written more than a day ago are removed first.
std::optional<QString> writeTempPDF(const QByteArray &data, const QString &projectName,
                                    const QString &tempBase = QDir::tempPath());

} // namespace CommercialProposalPDF
