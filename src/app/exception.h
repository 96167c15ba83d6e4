#pragma once

// The exception the installer side throws inside a component (the process runner's start
// failures); it never crosses a component border.

#include <exception>
#include <string>

namespace Utils {

class Exception : public std::exception {
  public:
    explicit Exception(std::string message = {}) : message_(std::move(message)) {}

    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};

}  // namespace Utils
