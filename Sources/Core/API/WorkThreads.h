#pragma once

#include <QThreadPool>

// The threads the application's long work runs on: a proposal drawn, a project's JSON made or
// read, the device store's list read. A pool of the application's own, never Qt's global one,
// whose threads Qt's painting waits for: work there would hold the window's frames back on a
// machine of one or two CPUs.
namespace WorkThreads {

// At least two threads, so that a render never keeps a store read or a save's JSON waiting.
QThreadPool &shared();

// Waits for all work handed to the pool. The application calls it before its application object
// goes, as the work uses what that object holds (the fonts, the font database); a render whose
// sheet went stops at its next line.
void finish();

} // namespace WorkThreads
