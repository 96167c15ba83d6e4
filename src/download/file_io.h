#pragma once

// The few file operations the downloaders need, on UTF-8 paths (the Windows build opens
// the wide form of the same path, never a code-page-narrowed one). Nothing here throws.

#include <cstddef>
#include <cstdint>
#include <string>

namespace download {

class File {
  public:
    enum class Mode {
        kRead,     // existing file, reading
        kAppend,   // created when missing; every write goes to the end; reading allowed
        kUpdate,   // created when missing; reading and writing at chosen offsets
        kReplace,  // created when missing, emptied when present; writing
    };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // An unopened File on failure; `error` (if given) receives the system error number.
    static File Open(const std::string& path, Mode mode, int* error = nullptr);

    bool IsOpen() const { return fd_ >= 0; }
    void Close();

    // Current size in bytes, -1 when it cannot be read.
    int64_t Size() const;

    // Writes all of it (retrying short writes); false on any failure.
    bool WriteAll(const void* data, size_t size);

    // Bytes read into `buffer`, 0 at the end, -1 on failure.
    int64_t Read(void* buffer, size_t size);

    bool Truncate(int64_t size);

    // Appends the whole content of `source` to the end of this file (opened with kUpdate).
    // Copies inside the kernel where the system can. False on any failure.
    bool AppendFrom(File& source);

    // A hint that the file will be read once from start to end.
    void AdviseSequential();

  private:
    explicit File(int fd) : fd_(fd) {}
    int fd_ = -1;
};

bool FileExists(const std::string& path);

// Size of the file at `path`, -1 when it does not exist or cannot be read.
int64_t FileSize(const std::string& path);

// True when no file of that name exists afterwards.
bool RemoveFile(const std::string& path);

// Moves `from` to `to`, replacing a file already there.
bool RenameFile(const std::string& from, const std::string& to);

// The system's message text for an error number.
std::string SystemErrorText(int error);

}  // namespace download
