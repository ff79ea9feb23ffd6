#pragma once

class QQuickItem;

// Whether a list keeps the item (or one of its ancestors) undrawn: a row beyond its edges or in
// its pool, laid out but culled from the scene. Apart from the tests' other headers, as Qt's
// private item header brings names that clash with the application's.
namespace ItemCulling {

bool culled(const QQuickItem *item);

} // namespace ItemCulling
