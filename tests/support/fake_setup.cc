// quorvex_fake_setup: stands in for the product's package and for an installed copy's
// uninstaller in the install driver's tests. Its command line is the one the installer
// builds, so the test chooses what it does through files instead:
//
//   $QUORVEX_FAKE_DIR/<program file name>.args    written: one received argument a line
//   $QUORVEX_FAKE_DIR/<program file name>.script  read: one action a line, in order
//
// where <program file name> is the name it was started under ("__Package_Quorvex.exe",
// "Quorvex_un_asa.exe", ...). Without a script it only records its arguments and exits 0.
// In TEXT, "%D" stands for the folder after "/D=" (the package) or "_?=" (the
// uninstaller); both are the last argument and may contain spaces. "%0" stands for the
// path the program was started from.
//
//   out TEXT     writes TEXT "\n" to standard output
//   crlf TEXT    writes TEXT "\r\n"
//   raw TEXT     writes TEXT without a line break (a line split across writes)
//   hex HH..     writes the bytes given in hexadecimal (other code pages, zero bytes)
//   err TEXT     writes TEXT "\n" to standard error only
//   sleep MS     waits MS milliseconds
//   hold MS      starts a grandchild that inherits the standard handles and keeps them
//                open for MS milliseconds after this program has gone
//   install      creates "%D/quorvex.exe" and "%D/uninst.ep", as a real package would
//   touch PATH   creates the file PATH
//   remove PATH  deletes the file PATH
//   exit CODE    exits at once with CODE
//
// After the last action it exits with 0.

#include <spawn.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace {

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            return;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
}

std::string ProgramName(const char* argv0) {
    const std::string_view path = argv0;
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The text after the last argument starting with `key`, with the arguments after it joined
// by spaces again (the folder may contain spaces and is not quoted).
std::string FolderArgument(int argc, char** argv, std::string_view key) {
    for (int i = argc - 1; i >= 1; --i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(key)) {
            std::string folder(arg.substr(key.size()));
            for (int j = i + 1; j < argc; ++j) {
                folder += std::string(" ") + argv[j];
            }
            return folder;
        }
    }
    return {};
}

std::string Substitute(std::string text, const std::string& marker, const std::string& value) {
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        text.replace(at, marker.size(), value);
        at += value.size();
    }
    return text;
}

std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

void Touch(const std::string& path) {
    std::ofstream(path, std::ios::binary) << "fake\n";
}

void StartHolder(const std::string& milliseconds) {
    std::string self = "/proc/self/exe";
    std::string flag = "--hold";
    std::string wait = milliseconds;
    char* argv[] = {flag.data(), flag.data(), wait.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, environ) != 0) {
        WriteAll(STDERR_FILENO, "hold failed\n");
        ::_exit(99);
    }
}

void RecordArguments(const std::string& dir, const std::string& name, int argc, char** argv) {
    std::ofstream record(dir + "/" + name + ".args", std::ios::binary);
    for (int i = 1; i < argc; ++i) {
        record << argv[i] << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--hold") {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(argv[2])));
        return 0;
    }
    const char* dirVariable = ::getenv("QUORVEX_FAKE_DIR");
    const std::string dir = dirVariable != nullptr ? dirVariable : ".";
    const std::string name = ProgramName(argv[0]);
    RecordArguments(dir, name, argc, argv);

    std::string folder = FolderArgument(argc, argv, "/D=");
    if (folder.empty()) {
        folder = FolderArgument(argc, argv, "_?=");
    }
    std::ifstream script(dir + "/" + name + ".script", std::ios::binary);
    std::string line;
    while (std::getline(script, line)) {
        const size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        const std::string value =
            space == std::string::npos
                ? ""
                : Substitute(Substitute(line.substr(space + 1), "%D", folder), "%0", argv[0]);
        if (verb == "out") {
            WriteAll(STDOUT_FILENO, value + "\n");
        } else if (verb == "crlf") {
            WriteAll(STDOUT_FILENO, value + "\r\n");
        } else if (verb == "raw") {
            WriteAll(STDOUT_FILENO, value);
        } else if (verb == "hex") {
            WriteAll(STDOUT_FILENO, FromHex(value));
        } else if (verb == "err") {
            WriteAll(STDERR_FILENO, value + "\n");
        } else if (verb == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(value)));
        } else if (verb == "hold") {
            StartHolder(value);
        } else if (verb == "install") {
            Touch(folder + "/quorvex.exe");
            Touch(folder + "/uninst.ep");
        } else if (verb == "touch") {
            Touch(value);
        } else if (verb == "remove") {
            ::unlink(value.c_str());
        } else if (verb == "exit") {
            return std::stoi(value);
        } else if (!verb.empty()) {
            WriteAll(STDERR_FILENO, "unknown action: " + line + "\n");
            return 98;
        }
    }
    return 0;
}
