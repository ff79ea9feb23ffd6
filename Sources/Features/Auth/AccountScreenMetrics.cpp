#include "Features/Auth/AccountScreenMetrics.h"

#include <algorithm>

double AccountScreenMetrics::columnWidth(double windowWidth)
{
    return std::min(std::max(windowWidth - 48, 320.0), 440.0);
}
