#pragma once

// The one report signature shared by the downloaders, the package runners and the install
// driver. It may be called on any worker thread.

#include <cstdint>
#include <functional>
#include <string>

using StatusCallback = std::function<void(int32_t code, double value, const std::string& text)>;
