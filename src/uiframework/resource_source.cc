#include "uiframework/resource_source.h"

namespace uiframework {

namespace {

std::string NormalisedName(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c == '\\') {
            c = '/';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

}  // namespace

void MemoryResourceSource::Add(std::string_view name, std::string content) {
    entries_[NormalisedName(name)] = std::move(content);
}

std::optional<std::string> MemoryResourceSource::Read(std::string_view name) const {
    auto it = entries_.find(NormalisedName(name));
    if (it == entries_.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace uiframework
