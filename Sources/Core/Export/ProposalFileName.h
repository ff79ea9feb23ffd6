#pragma once

#include <QString>

// File names of the proposal PDF, derived from the project name: "KP-<name>.pdf" with the name
// filtered to letters, numbers, "-" and " " (blanks become "-"), at most 40 user-perceived
// characters, "estimate" when nothing is left, and never longer than 255 bytes in UTF-8.
namespace ProposalFileName {

// The name of a render's temporary file, the one a client receives when it is handed over.
QString temporaryName(const QString &projectName);

// The name proposed in the save dialog; it also keeps "_".
QString suggestedName(const QString &projectName);

} // namespace ProposalFileName
