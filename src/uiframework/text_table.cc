#include "uiframework/text_table.h"

#include <charconv>

namespace uiframework {

void LocalizedTextTable::Set(int id, std::string text) {
    texts_[id] = std::move(text);
}

std::optional<std::string> LocalizedTextTable::Get(int id) const {
    auto it = texts_.find(id);
    if (it == texts_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string LocalizedTextTable::Expand(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find("%{", pos);
        if (open == std::string_view::npos) {
            break;
        }
        size_t digits = open + 2;
        size_t close = digits;
        while (close < text.size() && text[close] >= '0' && text[close] <= '9') {
            ++close;
        }
        int id = 0;
        bool isToken = close > digits && close < text.size() && text[close] == '}';
        auto [end, ec] = std::from_chars(text.data() + digits, text.data() + close, id);
        auto found = texts_.end();
        if (isToken && ec == std::errc() && end == text.data() + close) {
            found = texts_.find(id);
        }
        if (found != texts_.end()) {
            out.append(text.substr(pos, open - pos));
            out.append(found->second);
            pos = close + 1;
        } else {
            out.append(text.substr(pos, digits - pos));
            pos = digits;
        }
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace uiframework
