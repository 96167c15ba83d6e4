#include "platform/ini_document.h"

#include <vector>

namespace platform::ini {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

struct Line {
    std::string_view raw;  // as in the text, without its line end
    std::string_view end;  // "\n", "\r\n", or empty for a last line without one
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t newline = text.find('\n', pos);
        if (newline == std::string_view::npos) {
            lines.push_back({text.substr(pos), {}});
            break;
        }
        size_t contentEnd = newline;
        if (contentEnd > pos && text[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        lines.push_back({text.substr(pos, contentEnd - pos),
                         text.substr(contentEnd, newline + 1 - contentEnd)});
        pos = newline + 1;
    }
    return lines;
}

// A line's text for parsing: the byte order mark that may open the first line is not part
// of its content.
std::string_view Content(const std::vector<Line>& lines, size_t index) {
    std::string_view raw = lines[index].raw;
    if (index == 0 && raw.starts_with(kByteOrderMark)) {
        raw.remove_prefix(kByteOrderMark.size());
    }
    return raw;
}

enum class Kind { kOther, kSection, kKey };

struct ParsedLine {
    Kind kind = Kind::kOther;
    std::string_view name;
    std::string_view value;
};

ParsedLine Parse(std::string_view content) {
    const std::string_view text = Trim(content);
    if (text.empty() || text.front() == ';') {
        return {};
    }
    if (text.front() == '[') {
        const size_t close = text.find(']');
        if (close != std::string_view::npos) {
            return {Kind::kSection, Trim(text.substr(1, close - 1)), {}};
        }
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {Kind::kKey, Trim(text.substr(0, equals)), Unquote(Trim(text.substr(equals + 1)))};
}

struct Location {
    std::optional<size_t> header;   // the first section of the name
    std::optional<size_t> key;      // the first line of the key in that section
    std::optional<size_t> lastKey;  // the last key line of that section
};

Location Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location found;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine line = Parse(Content(lines, i));
        if (line.kind == Kind::kSection) {
            if (found.header) {
                break;
            }
            if (EqualsIgnoringCase(line.name, section)) {
                found.header = i;
            }
        } else if (line.kind == Kind::kKey && found.header) {
            found.lastKey = i;
            if (!found.key && EqualsIgnoringCase(line.name, key)) {
                found.key = i;
            }
        }
    }
    return found;
}

std::string_view LineEndOf(const std::vector<Line>& lines, std::string_view defaultLineEnd) {
    for (const Line& line : lines) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return defaultLineEnd;
}

std::string KeyLine(std::string_view indent, std::string_view key, std::string_view value) {
    std::string line(indent);
    line.append(key).append("=").append(value);
    return line;
}

std::string ReplaceLine(const std::vector<Line>& lines, size_t index, std::string_view value) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == index) {
            // Whatever precedes the key (indentation, a byte order mark) stays.
            const std::string_view content = Content(lines, i);
            const size_t keyStart = content.find_first_not_of(kBlanks);
            const std::string_view prefix =
                lines[i].raw.substr(0, lines[i].raw.size() - content.size() + keyStart);
            text.append(KeyLine(prefix, Parse(content).name, value));
        } else {
            text.append(lines[i].raw);
        }
        text.append(lines[i].end);
    }
    return text;
}

std::string InsertLineAfter(const std::vector<Line>& lines, size_t index,
                            const std::string& newLine, std::string_view lineEnd) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text.append(lines[i].raw);
        // A last line without an end gets one, or the new line would join it.
        text.append(i == index && lines[i].end.empty() ? lineEnd : lines[i].end);
        if (i == index) {
            text.append(newLine).append(lineEnd);
        }
    }
    return text;
}

std::string AppendSection(std::string_view original, const std::vector<Line>& lines,
                          std::string_view section, const std::string& newLine,
                          std::string_view lineEnd) {
    std::string text(original);
    if (!lines.empty()) {
        if (lines.back().end.empty()) {
            text.append(lineEnd);
        }
        if (!Trim(Content(lines, lines.size() - 1)).empty()) {
            text.append(lineEnd);
        }
    }
    text.append("[").append(section).append("]").append(lineEnd);
    text.append(newLine).append(lineEnd);
    return text;
}

}  // namespace

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty()) {
        return std::nullopt;
    }
    const std::vector<Line> lines = SplitLines(text);
    const Location found = Locate(lines, section, key);
    if (!found.key) {
        return std::nullopt;
    }
    return Parse(Content(lines, *found.key)).value;
}

bool IsStorable(std::string_view section, std::string_view key, std::string_view value) {
    const auto hasLineBreak = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) {
        return false;
    }
    section = Trim(section);
    key = Trim(key);
    return !section.empty() && section.find(']') == std::string_view::npos && !key.empty() &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

std::string SetValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value, std::string_view defaultLineEnd) {
    section = Trim(section);
    key = Trim(key);
    const std::vector<Line> lines = SplitLines(text);
    const std::string_view lineEnd = LineEndOf(lines, defaultLineEnd);
    const Location found = Locate(lines, section, key);
    if (found.key) {
        return ReplaceLine(lines, *found.key, value);
    }
    const std::string newLine = KeyLine({}, key, value);
    if (found.header) {
        return InsertLineAfter(lines, found.lastKey.value_or(*found.header), newLine, lineEnd);
    }
    return AppendSection(text, lines, section, newLine, lineEnd);
}

}  // namespace platform::ini
