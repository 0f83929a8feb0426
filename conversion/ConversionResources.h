#pragma once

namespace conversion {
// Makes the conversion windows' pictures available (resources of a static library).
void initResources();
} // namespace conversion
