#pragma once

// MD5 as published in RFC 1321. Used to check a downloaded package against the digest its
// download address carries; not a security primitive.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace download {

using Md5Digest = std::array<uint8_t, 16>;

class Md5 {
  public:
    Md5();

    // Appends `length` bytes; every filled 64-byte block is transformed at once.
    void Update(const void* data, size_t length);

    // Pads, appends the bit length and returns the digest. The object must not be updated
    // afterwards.
    Md5Digest Final();

  private:
    void Transform(const uint8_t* block);

    uint32_t state_[4];
    uint64_t bitCount_ = 0;
    uint8_t buffer_[64];
};

// The digest as 32 lower-case hexadecimal digits.
std::string ToHex(const Md5Digest& digest);

// The lower-case hexadecimal digest of the file at `path` (UTF-8), or an empty text when
// the path is empty or the file cannot be opened or read to its end.
std::string FileMd5(const std::string& path);

}  // namespace download
