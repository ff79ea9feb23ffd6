#pragma once

#include "UserInterfaceSizeClass.h"

#include <algorithm>

// The space a window gives its content: the horizontal size class and the width in points.
struct AdaptiveMetrics
{
    static constexpr double CompactWidthLimit = 520;

    UserInterfaceSizeClass::Value horizontalSizeClass = UserInterfaceSizeClass::Unspecified;
    double width = 0;

    bool isCompact() const
    {
        return horizontalSizeClass == UserInterfaceSizeClass::Compact || width < CompactWidthLimit;
    }

    // The main window's columns: the sidebar narrows below 900 points, the other two below 1100.
    double sidebarMinWidth() const { return width < 900 ? 180 : 200; }
    double sidebarIdealWidth() const { return width < 900 ? 200 : 220; }
    double sidebarMaxWidth() const { return width < 900 ? 240 : 260; }
    double contentMinWidth() const { return width < 1100 ? 300 : 340; }
    double detailMinWidth() const { return width < 1100 ? 360 : 440; }
    // The list column's starting width: 40 points over its minimum, less where the sidebar at
    // its ideal width and the detail at its minimum would otherwise not fit beside it (the two
    // 1-point split handles included).
    double contentIdealWidth() const
    {
        const double room = width - sidebarIdealWidth() - detailMinWidth() - 2;
        return std::max(contentMinWidth(), std::min(contentMinWidth() + 40, room));
    }

    // A detail that needs more than the detail column's minimum (the editor keeps 520 points):
    // the detail column's minimum beside it, and whether the list column folds into a rail for
    // it, where the sidebar and the list at their minimums would leave it less. Folded, the list
    // shows over the detail on demand.
    static constexpr double EditorMinWidth = 520;
    static constexpr double FoldedContentWidth = 48;
    double detailMinWidth(double needs) const { return std::max(detailMinWidth(), needs); }
    bool foldsContent(double needs) const
    {
        return needs > detailMinWidth() && sidebarMinWidth() + contentMinWidth() + needs + 2 > width;
    }
    // The sidebar's starting width beside such a detail: its ideal, narrowed towards its minimum
    // where the list (at its minimum, or its rail) and the detail would not fit beside it.
    double sidebarIdealWidth(double needs) const
    {
        const double content = foldsContent(needs) ? FoldedContentWidth : contentMinWidth();
        const double room = width - content - detailMinWidth(needs) - 2;
        return std::clamp(room, sidebarMinWidth(), sidebarIdealWidth());
    }
    // The list column's starting width beside such a detail: its rail when folded, else as
    // contentIdealWidth() with the sidebar and the detail of that detail.
    double contentIdealWidth(double needs) const
    {
        if (foldsContent(needs))
            return FoldedContentWidth;
        const double room = width - sidebarIdealWidth(needs) - detailMinWidth(needs) - 2;
        return std::max(contentMinWidth(), std::min(contentMinWidth() + 40, room));
    }
    // The list's width where it shows over the detail: its own starting width.
    double foldedListWidth() const { return contentMinWidth() + 40; }

    // A placeholder's margins, and the cap of its column: negative (no cap) below the compact limit.
    double placeholderPadding() const { return isCompact() ? 20 : 28; }
    double placeholderMaxWidth() const
    {
        if (width < CompactWidthLimit)
            return -1;
        return width < 900 ? 520 : 640;
    }

    // What a view outside every reader sees: a compact phone-sized width.
    static AdaptiveMetrics outsideAnyReader() { return {UserInterfaceSizeClass::Compact, 390}; }
};
