#pragma once

// The installer's diagnostic trace: one line per event to the debugger output, with the
// prefix "<P%05d><T%05d><YYYY-MM-DD hh:mm:ss.mmm>(Function)<%04d>: ". There is no log file
// and there are no levels.
//
//   WRITE_LOG("DL_TYPE=%d\r\n", config.DownloadType);
//
// The message is a printf-style format whose arguments are checked by type, not by the
// length letters of the format: "%ld" prints a 64-bit value whole and "%s" takes a
// std::string. Data is only ever an argument, never part of the format.

#include <fmt/printf.h>

#include <string>
#include <string_view>

namespace applog {

// "Namespace::Class::Function" out of a compiler's pretty function signature.
std::string QualifiedFunctionName(std::string_view prettyFunction);

// The line prefix for the calling thread at the current local time.
std::string LinePrefix(std::string_view function, int line);

// Hands prefix + message to the debugger output in one piece.
void Emit(std::string_view function, int line, std::string_view message);

}  // namespace applog

template <typename... Args>
void WriteLog(std::string_view function, int line, std::string_view format, const Args&... args) {
    std::string message;
    try {
        message = fmt::sprintf(format, args...);
    } catch (const fmt::format_error&) {
        // A format that does not match its arguments still leaves a trace, never a fault.
        message.assign(format);
    }
    applog::Emit(function, line, message);
}

#define WRITE_LOG(...) \
    WriteLog(::applog::QualifiedFunctionName(__PRETTY_FUNCTION__), __LINE__, __VA_ARGS__)
