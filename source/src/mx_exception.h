#pragma once

#include <exception>
#include <string>

namespace marlix::tracking {

// The tracker's error. Only the message is ever shown; the unit, the function and the line
// tell a developer where it was thrown.
class MxException : public std::exception {
  public:
    MxException(std::string message, std::string sourceUnit, std::string function, int line)
        : message_(std::move(message)),
          sourceUnit_(std::move(sourceUnit)),
          function_(std::move(function)),
          line_(line) {}

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& sourceUnit() const { return sourceUnit_; }
    const std::string& function() const { return function_; }
    int line() const { return line_; }

  private:
    std::string message_;
    std::string sourceUnit_;
    std::string function_;
    int line_ = 0;
};

}  // namespace marlix::tracking

#define MX_THROW(unit, function, message) \
    throw ::marlix::tracking::MxException((message), (unit), (function), __LINE__)
