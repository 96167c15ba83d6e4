#include "analytics-sdk/diagnostics.h"

#include <cstdio>

namespace analytics_sdk {

void WriteError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace analytics_sdk
