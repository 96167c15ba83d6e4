#pragma once

#include <string_view>

namespace analytics_sdk {

// The SDK's diagnostics channel is standard error; each message goes out in one write so
// that messages from different threads do not interleave.
void WriteError(std::string_view text);

}  // namespace analytics_sdk
