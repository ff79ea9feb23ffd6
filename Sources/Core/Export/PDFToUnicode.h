#pragma once

#include "PDFGlyphRecorder.h"

#include <QByteArray>

// Completes the text maps of a PDF that Qt's writer made: a glyph the writer could not name (a
// shaped Arabic letter, an emoji) gets the text it was shaped from, and a glyph it named by a
// presentation form gets the letters themselves, so that a reader extracts, searches and copies
// the text as it was typed. The new maps are appended as an incremental update; the writer's
// bytes stay as they are. A font whose glyph order the recorder cannot confirm against the
// writer's own map keeps the writer's map.
namespace PDFToUnicode {

QByteArray complete(const QByteArray &pdf, const PDFGlyphRecorder &recorder);

} // namespace PDFToUnicode
