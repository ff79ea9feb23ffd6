#include "BundledFonts.h"

#include "Export/PDFTypography.h"
#include "Typography.h"

namespace BundledFonts {

void registerAll()
{
    Typography::registerFonts();
    PDFTypography::family();
}

} // namespace BundledFonts
