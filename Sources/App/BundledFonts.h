#pragma once

// The fonts the application carries: the interface's and the proposal's.
namespace BundledFonts {

// Registers them all, once. Called at start, before any window lays text out: registering a font
// later resets every font engine of the process, and the window's text then rebuilds its engines
// while the scene graph's thread may still hold the old ones' faces.
void registerAll();

} // namespace BundledFonts
