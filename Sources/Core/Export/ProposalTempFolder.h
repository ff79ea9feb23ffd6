#pragma once

#include <QDir>
#include <QString>
#include <optional>

// The per-user folder that holds the rendered proposals, inside the system's temporary folder.
// Each render has a folder of its own in it, so that its file keeps the clean name a client
// receives ("KP-<name>.pdf") while two renders never share a file.
namespace ProposalTempFolder {

// Creates "<base>/tessmark-<uid>" with mode 0700 when missing and returns its path. Refuses (no
// value) a symlink, a non-folder or a folder owned by another user, as the shared temporary folder
// lets anyone plant one there first.
std::optional<QString> ensure(const QString &base = QDir::tempPath());

// A new, empty, private (0700) folder for one render inside the per-user folder.
std::optional<QString> newRenderFolder(const QString &base = QDir::tempPath());

// Removes the render whose file this is, with its folder. Anything that is not a render's file
// inside the per-user folder is left alone.
void removeRender(const QString &pdfPath);

// Removes the renders written more than a day ago: their sheets are long closed, or the file was
// handed to another program that has long read it.
void removeStaleRenders(const QString &base = QDir::tempPath());

} // namespace ProposalTempFolder
