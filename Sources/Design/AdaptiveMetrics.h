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
