#include "ui/controls/sequence_animation.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/utf8_text.h"
#include "uiframework/attribute_text.h"

namespace uiframework {

namespace {

// Matches a frame name buffer of 260 characters with its terminator.
constexpr size_t kMaxNameCharacters = 259;
// Wider fields than this are no frame name, only a way to make huge texts.
constexpr int kMaxFieldDigits = 3;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct PatternCheck {
    bool usable = false;
    char conversion = 0;  // 0 when the pattern has no conversion at all
};

PatternCheck CheckPattern(std::string_view pattern) {
    PatternCheck check;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            continue;
        }
        ++i;
        if (i < pattern.size() && pattern[i] == '%') {
            continue;
        }
        while (i < pattern.size() &&
               std::string_view("-+ #0").find(pattern[i]) != std::string_view::npos) {
            ++i;
        }
        int digits = 0;
        while (i < pattern.size() && IsDigit(pattern[i])) {
            ++i;
            ++digits;
        }
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            int precision = 0;
            while (i < pattern.size() && IsDigit(pattern[i])) {
                ++i;
                ++precision;
            }
            digits = std::max(digits, precision);
        }
        bool integer = i < pattern.size() &&
                       std::string_view("diuxXo").find(pattern[i]) != std::string_view::npos;
        if (!integer || digits > kMaxFieldDigits || check.conversion != 0) {
            return PatternCheck{};
        }
        check.conversion = pattern[i];
    }
    check.usable = true;
    return check;
}

bool SwitchValue(std::string_view value) {
    return value != "false";
}

}  // namespace

std::optional<std::string> FormatSequenceName(std::string_view pattern, unsigned index) {
    PatternCheck check = CheckPattern(pattern);
    if (!check.usable) {
        return std::nullopt;
    }
    std::string format(pattern);
    bool isSigned = check.conversion == 'd' || check.conversion == 'i';
    auto print = [&](char* buffer, size_t size) {
        // Checked above: at most one conversion, and an integer one.
        return isSigned ? std::snprintf(buffer, size, format.c_str(), static_cast<int>(index))
                        : std::snprintf(buffer, size, format.c_str(), index);
    };
    int length = print(nullptr, 0);
    if (length < 0) {
        return std::nullopt;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    print(buffer.data(), buffer.size());
    std::string_view name(buffer.data(), static_cast<size_t>(length));
    return std::string(platform::utf8::CutToCodePoints(name, kMaxNameCharacters));
}

bool SequenceAnimation::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "sequencebkimage") {
        pattern_ = std::string(value);
    } else if (EqualsIgnoreCase(name, "sequencecount")) {
        count_ = static_cast<unsigned>(std::max(0, LeadingInt(value)));
    } else if (EqualsIgnoreCase(name, "sequencespan")) {
        span_ = LeadingInt(value);
    } else if (EqualsIgnoreCase(name, "sequenceloop")) {
        loop_ = SwitchValue(value);
    } else if (EqualsIgnoreCase(name, "sequenceround")) {
        round_ = SwitchValue(value);
    } else if (EqualsIgnoreCase(name, "autostart")) {
        autoStart_ = SwitchValue(value);
    } else {
        return false;
    }
    return true;
}

SequenceAnimation::Step SequenceAnimation::Next() {
    Step step;
    if (pattern_.empty()) {
        return step;
    }
    // With no frames "count - 1" is the largest index, so the sequence never wraps.
    if (forward_ && index_ > count_ - 1) {
        if (round_) {
            forward_ = false;
            // One frame has no second-to-last frame to turn back to.
            index_ = count_ >= 2 ? count_ - 2 : 0;
        } else {
            index_ = 0;
            if (!loop_) {
                step.stop = true;
                return step;
            }
        }
    }
    if (!forward_ && index_ == 0) {
        if (round_) {
            forward_ = true;
        }
        index_ = 0;
        if (!loop_) {
            step.stop = true;
            return step;
        }
    }
    step.image = FormatSequenceName(pattern_, index_);
    if (forward_) {
        ++index_;
    } else {
        --index_;
    }
    return step;
}

}  // namespace uiframework
