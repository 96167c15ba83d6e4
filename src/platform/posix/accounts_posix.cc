#include "platform/accounts.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <utmp.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "platform/posix/console_session.h"

namespace platform {
namespace {

constexpr const char* kAdministratorGroups[] = {"sudo", "wheel", "admin"};
constexpr size_t kMaxLookupBuffer = 1 << 20;

// Runs a reentrant passwd/group lookup (getpwnam_r and its kin), growing the text buffer
// while the entry does not fit. False when there is no such entry or the lookup failed.
template <typename Entry, typename Lookup>
bool LookUpEntry(Lookup lookup, Entry& entry, std::vector<char>& buffer) {
    buffer.resize(1024);
    for (;;) {
        Entry* found = nullptr;
        const int error = lookup(&entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < kMaxLookupBuffer) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        return error == 0 && found != nullptr;
    }
}

std::optional<std::string> RealUserName() {
    passwd entry{};
    std::vector<char> buffer;
    const uid_t uid = ::getuid();
    auto lookup = [uid](passwd* e, char* b, size_t n, passwd** r) {
        return ::getpwuid_r(uid, e, b, n, r);
    };
    if (!LookUpEntry(lookup, entry, buffer) || entry.pw_name[0] == '\0') {
        return std::nullopt;
    }
    return std::string(entry.pw_name);
}

std::optional<gid_t> GroupId(const char* groupName) {
    group entry{};
    std::vector<char> buffer;
    auto lookup = [groupName](group* e, char* b, size_t n, group** r) {
        return ::getgrnam_r(groupName, e, b, n, r);
    };
    if (!LookUpEntry(lookup, entry, buffer)) {
        return std::nullopt;
    }
    return entry.gr_gid;
}

// The primary and every supplementary group of a user.
std::vector<gid_t> GroupsOf(const char* userName, gid_t primary) {
    std::vector<gid_t> groups(32);
    for (int attempt = 0; attempt < 8; ++attempt) {
        int count = static_cast<int>(groups.size());
        if (::getgrouplist(userName, primary, groups.data(), &count) >= 0) {
            groups.resize(static_cast<size_t>(count));
            return groups;
        }
        // On failure count holds the number needed.
        groups.resize(std::max(static_cast<size_t>(count), groups.size() * 2));
    }
    return {primary};
}

}  // namespace

bool ConsoleUserName(std::string& name) {
    std::optional<std::string> user = detail::ConsoleUserFromLoginRecords(_PATH_UTMP);
    if (!user) {
        user = RealUserName();
    }
    if (!user) {
        return false;
    }
    name = *user;
    return true;
}

bool UserIsAdministrator(std::string_view name) {
    // An embedded zero would silently look up a different, shorter name.
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return false;
    }
    const std::string userName(name);
    passwd account{};
    std::vector<char> buffer;
    auto lookup = [&userName](passwd* e, char* b, size_t n, passwd** r) {
        return ::getpwnam_r(userName.c_str(), e, b, n, r);
    };
    if (!LookUpEntry(lookup, account, buffer)) {
        return false;
    }
    if (account.pw_uid == 0) {
        return true;
    }
    const std::vector<gid_t> groups = GroupsOf(userName.c_str(), account.pw_gid);
    for (const char* adminGroup : kAdministratorGroups) {
        const std::optional<gid_t> adminId = GroupId(adminGroup);
        if (adminId && std::find(groups.begin(), groups.end(), *adminId) != groups.end()) {
            return true;
        }
    }
    return false;
}

bool ProcessIsElevated() {
    return ::geteuid() == 0;
}

}  // namespace platform
