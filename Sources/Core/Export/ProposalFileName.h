#pragma once

#include <QString>

// File names of the proposal PDF, derived from the project name: "KP-<name>.pdf" with the name
// filtered to letters, numbers, "-" and " " (blanks become "-"), at most 40 user-perceived
// characters, "estimate" when nothing is left, and never longer than 255 bytes in UTF-8.
namespace ProposalFileName {

// The template of a render's temporary file, "KP-<name>-XXXXXX.pdf": the X's become a part that
// is unique in the folder, so two projects whose names filter alike never share a file.
QString temporaryTemplate(const QString &projectName);

// The name proposed in the save dialog; it also keeps "_".
QString suggestedName(const QString &projectName);

} // namespace ProposalFileName
