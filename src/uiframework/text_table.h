#pragma once

// The localised text table: texts by numeric identifier, shown in place of "%{n}" tokens in
// control texts.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace uiframework {

class LocalizedTextTable {
  public:
    // Replaces the text of an identifier that exists.
    void Set(int id, std::string text);
    std::optional<std::string> Get(int id) const;

    // `text` with every "%{n}" whose identifier n is in the table replaced by its text;
    // other tokens stay as written.
    std::string Expand(std::string_view text) const;

  private:
    std::map<int, std::string> texts_;
};

}  // namespace uiframework
