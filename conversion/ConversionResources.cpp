#include "conversion/ConversionResources.h"

#include <QtGlobal>

static void initConversionResources() { Q_INIT_RESOURCE(conversion); }

namespace conversion {
void initResources()
{
    static const bool done = (initConversionResources(), true);
    Q_UNUSED(done);
}
} // namespace conversion
