#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of the environment variable `name`, nothing when it is not set. An empty value
// counts as set. Any thread, as long as nobody changes the environment at the same time.
std::optional<std::string> EnvironmentVariable(std::string_view name);

}  // namespace platform
