#pragma once

// Where layouts and images come from: the embedded skin archive in the program, inline
// texts in tests.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace uiframework {

class ResourceSource {
  public:
    virtual ~ResourceSource() = default;

    // The whole content of the named entry, or nothing when there is none.
    virtual std::optional<std::string> Read(std::string_view name) const = 0;
};

// Entries held in memory, found as the skin archive finds them: "\" and "/" alike, letter
// case ignored.
class MemoryResourceSource : public ResourceSource {
  public:
    void Add(std::string_view name, std::string content);
    std::optional<std::string> Read(std::string_view name) const override;

  private:
    std::map<std::string, std::string> entries_;
};

}  // namespace uiframework
