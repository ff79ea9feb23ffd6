#pragma once

#include <QDir>
#include <QString>
#include <optional>

// The per-user folder that holds the rendered proposals, inside the system's temporary folder.
namespace ProposalTempFolder {

// Creates "<base>/tessmark-<uid>" with mode 0700 when missing and returns its path. Refuses (no
// value) a symlink, a non-folder or a folder owned by another user, as the shared temporary folder
// lets anyone plant one there first.
std::optional<QString> ensure(const QString &base = QDir::tempPath());

} // namespace ProposalTempFolder
