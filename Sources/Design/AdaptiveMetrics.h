#pragma once

#include "UserInterfaceSizeClass.h"

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

    // What a view outside every reader sees: a compact phone-sized width.
    static AdaptiveMetrics outsideAnyReader() { return {UserInterfaceSizeClass::Compact, 390}; }
};
