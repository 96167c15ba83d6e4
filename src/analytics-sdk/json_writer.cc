#include "analytics-sdk/json_writer.h"

#include <fmt/printf.h>

#include <charconv>
#include <cmath>
#include <ctime>

namespace analytics_sdk {
namespace {

using utils::ObjectNode;

void AppendValue(std::string& out, const utils::Value& value);

void AppendObject(std::string& out, const ObjectNode& node) {
    out.push_back('{');
    bool first = true;
    for (const auto& [key, value] : node.entries()) {
        const double* number = std::get_if<double>(&value);
        if (number != nullptr && !std::isfinite(*number)) {
            continue;
        }
        if (!first) {
            out.push_back(',');
        }
        first = false;
        // Valid keys never need escaping; escaping anyway keeps an unchecked key (of a super
        // property, say) from breaking the text.
        AppendJsonString(out, key);
        out.push_back(':');
        AppendValue(out, value);
    }
    out.push_back('}');
}

void AppendDateTime(std::string& out, const utils::DateTime& dateTime) {
    const auto seconds = static_cast<time_t>(dateTime.seconds);
    struct tm local = {};
    localtime_r(&seconds, &local);
    out += fmt::sprintf("\"%04d-%02d-%02d %02d:%02d:%02d.%03d\"", local.tm_year + 1900,
                        local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                        dateTime.milliseconds);
}

struct ValueWriter {
    std::string& out;

    void operator()(double number) { out += FormatNumber(number); }
    void operator()(int64_t number) { out += std::to_string(number); }
    void operator()(const std::string& text) { AppendJsonString(out, text); }
    void operator()(const std::vector<std::string>& list) {
        out.push_back('[');
        for (size_t i = 0; i < list.size(); ++i) {
            if (i > 0) {
                out.push_back(',');
            }
            AppendJsonString(out, list[i]);
        }
        out.push_back(']');
    }
    void operator()(const utils::DateTime& dateTime) { AppendDateTime(out, dateTime); }
    void operator()(bool flag) { out += flag ? "true" : "false"; }
    void operator()(const std::shared_ptr<const ObjectNode>& node) { AppendObject(out, *node); }
};

void AppendValue(std::string& out, const utils::Value& value) {
    std::visit(ValueWriter{out}, value);
}

}  // namespace

std::string ToJson(const ObjectNode& node) {
    std::string out;
    out.reserve(1024);  // a typical record; avoids most regrowth
    AppendObject(out, node);
    return out;
}

std::string FormatNumber(double value) {
    char buffer[64];
    for (int precision = 6;; ++precision) {
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                           std::chars_format::general, precision);
        double readBack = 0;
        std::from_chars(buffer, written.ptr, readBack);
        // 17 significant digits always read back exactly.
        if (readBack == value || precision >= 17) {
            return std::string(buffer, written.ptr);
        }
    }
}

void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    size_t plainStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text, plainStart, i - plainStart);
        plainStart = i + 1;
        switch (c) {
            case '\b':
                out += "\\b";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\r':
                out += "\\r";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += fmt::sprintf("\\u%04X", c);
        }
    }
    out.append(text, plainStart, text.size() - plainStart);
    out.push_back('"');
}

}  // namespace analytics_sdk
