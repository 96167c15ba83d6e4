#include <stdlib.h>

#include <string>

#include "platform/environment.h"

namespace platform {

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const char* value = ::getenv(std::string(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

}  // namespace platform
