#include "app/log.h"

#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/thread_info.h"

namespace applog {

std::string QualifiedFunctionName(std::string_view prettyFunction) {
    // "static unsigned int Utils::Thread::CallBack(void*)" -> "Utils::Thread::CallBack".
    // A lambda's signature "X::Start()::<lambda(int)>" keeps its enclosing function.
    std::string_view name = prettyFunction.substr(0, prettyFunction.find('('));
    size_t space = name.rfind(' ');
    if (space != std::string_view::npos) {
        name.remove_prefix(space + 1);
    }
    while (!name.empty() && (name.front() == '*' || name.front() == '&')) {
        name.remove_prefix(1);
    }
    return std::string(name);
}

std::string LinePrefix(std::string_view function, int line) {
    const platform::LocalTime now = platform::NowLocal();
    return fmt::sprintf("<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: ",
                        platform::CurrentProcessId(), platform::CurrentThreadId(), now.year,
                        now.month, now.day, now.hour, now.minute, now.second, now.millisecond,
                        function, line);
}

void Emit(std::string_view function, int line, std::string_view message) {
    std::string text = LinePrefix(function, line);
    text.append(message);
    platform::WriteDebugOutput(text);
}

}  // namespace applog
