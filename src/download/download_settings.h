#pragma once

// What a downloader takes from its surroundings besides address and target: trust, the
// analytics hook, and the seams through which tests replace time and thread creation.
// The defaults are what the installer runs with.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace download {

struct DownloadSettings {
    // PEM file of the certificate authorities trusted for HTTPS instead of the system's
    // store. Empty: the system's store. Verification of peer and host name is always on.
    std::string caFile;

    // False when libcurl's global initialisation failed at start-up; the two-range
    // downloader then fails at once.
    bool curlAvailable = true;

    // Seconds below 1 byte per second after which a transfer counts as stalled.
    long singleStreamStallSeconds = 60;
    long rangeStallSeconds = 5;

    // Installer task report (analytics) with the group "IN": task name and reason text.
    // Empty: nothing is reported.
    std::function<void(const std::string& task, const std::string& reason)> reportTask;

    // Seconds since 1970, the clock of the once-a-second progress throttles.
    // Empty: the system clock.
    std::function<int64_t()> calendarSecond;

    // Replaces every pause between attempts and thread starts. Empty: a real wait, cut
    // short when the downloader is destroyed.
    std::function<void(std::chrono::milliseconds)> pause;

    // The digest of a finished file, lower-case hexadecimal or empty when it cannot be
    // computed. Empty: MD5 of the file (tests replace it to simulate an unreadable file).
    std::function<std::string(const std::string& path)> fileDigest;

    // Asked before each thread a downloader creates; false makes that creation fail as if
    // the system had refused. Empty: always allowed.
    std::function<bool()> allowThread;
};

}  // namespace download
