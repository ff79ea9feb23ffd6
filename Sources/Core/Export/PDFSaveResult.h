#pragma once

#include <QString>

// The outcome of saving a copy of the proposal: the written path, or the error to show.
struct PDFSaveResult
{
    bool ok = false;
    QString path;
    QString error;
};
