#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <string>

#include "platform/path_compare.h"
#include "platform/processes.h"

namespace platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

std::string BaseName(std::string_view path) {
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool ReadExeLink(const std::string& procFolder, std::string& target) {
    char buffer[4096];
    const ssize_t n = ::readlink((procFolder + "/exe").c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) {
        return false;
    }
    target.assign(buffer, static_cast<size_t>(n));
    // The kernel marks a program file deleted after the start; the process still runs it.
    static constexpr std::string_view kDeleted = " (deleted)";
    if (target.size() > kDeleted.size() && target.ends_with(kDeleted)) {
        target.resize(target.size() - kDeleted.size());
    }
    return true;
}

// argv[0] up to its terminating zero; empty for kernel threads and unreaped processes.
std::string ReadFirstArgument(const std::string& procFolder) {
    std::ifstream in(procFolder + "/cmdline", std::ios::binary);
    std::string first;
    std::getline(in, first, '\0');
    return first;
}

std::string ProgramFileName(const std::string& procFolder) {
    std::string path;
    if (!ReadExeLink(procFolder, path)) {
        path = ReadFirstArgument(procFolder);
    }
    return BaseName(path);
}

bool IsProcessId(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (const char* c = name; *c != '\0'; ++c) {
        if (std::isdigit(static_cast<unsigned char>(*c)) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

int FindProcessByName(std::string_view name) {
    UniqueDir proc(::opendir("/proc"));
    if (!proc || name.empty()) {
        return 0;
    }
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!IsProcessId(entry->d_name)) {
            continue;
        }
        const std::string folder = std::string("/proc/") + entry->d_name;
        const std::string program = ProgramFileName(folder);
        if (!program.empty() && SameFileName(program, name)) {
            return std::stoi(entry->d_name);
        }
    }
    return 0;
}

}  // namespace platform
