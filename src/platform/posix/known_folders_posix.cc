#include "platform/known_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/user_folders.h"

namespace platform::folders {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string RoamingAppData() {
    const std::string appData = Variable("APPDATA");
    return appData.empty() ? posix::ConfigHome() : posix::WithoutTrailingSeparators(appData);
}

std::string LocalAppData() {
    return posix::DataHome();
}

std::string CommonDocuments() {
    const std::string documents = posix::BelowHome("/Documents");
    if (!documents.empty()) {
        // Usually it exists already (EEXIST); any other failure shows later, when a file
        // below it cannot be made.
        ::mkdir(documents.c_str(), 0777);
    }
    return documents;
}

std::string ProgramFiles() {
    return ::geteuid() == 0 ? "/opt" : posix::BelowHome("/.local/opt");
}

std::string SystemTemp() {
    std::string temp = posix::WithoutTrailingSeparators(Variable("TMPDIR"));
    if (temp.empty()) {
        return "/tmp/";
    }
    if (temp.back() != '/') {
        temp.push_back('/');
    }
    return temp;
}

std::string ShortPath(const std::string& path) {
    return path;
}

}  // namespace platform::folders
