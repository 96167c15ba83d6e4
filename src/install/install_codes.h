#pragma once

// Report codes of the package runner and the uninstaller runner (the download codes are in
// download/download_codes.h).

#include <cstdint>

inline constexpr int32_t IST_CODE_START = 2001;     // value 0
inline constexpr int32_t IST_CODE_PROGRESS = 2002;  // value: fraction done, 0 to 1
inline constexpr int32_t INSTALL_SUCCESS = 2003;    // value 0 after "State=Success", 1 without
inline constexpr int32_t IST_CODE_FAIL = 2004;      // value 0, 2 (no start) or 1000 ("Error=")

// Facts the package prints; the text (or the value) carries them.
inline constexpr int32_t IST_INFO_INSTALL_PATH = 3000;
inline constexpr int32_t IST_INFO_EXE_PATH = 3001;
inline constexpr int32_t IST_INFO_UNINSTALL_EXE = 3002;
inline constexpr int32_t IST_INFO_UNINSTALL_RECORD = 3003;
inline constexpr int32_t IST_INFO_START_URL = 3004;
inline constexpr int32_t IST_INFO_STARTUP_STYLE = 3005;  // value 0, 1 or 2
inline constexpr int32_t IST_INFO_TOP_SHOW_DETENTION = 3007;
inline constexpr int32_t IST_INFO_FINISH_CLOSE_DETENTION = 3008;
inline constexpr int32_t IST_INFO_MESSAGE = 3009;

inline constexpr int32_t UNIST_CODE_START = 5001;  // never sent: the runner starts with 5002
inline constexpr int32_t UNIST_CODE_PROGRESS = 5002;
inline constexpr int32_t UNIST_CODE_SUCCESS = 5003;  // value 0 after "State=Success", 1 without
inline constexpr int32_t UNIST_CODE_FAIL = 5004;     // value 1 (no file) or 2 (no start)
inline constexpr int32_t UNIST_CODE_ERROR = 5005;

// What Parse returns: no result line, success, failure.
inline constexpr int kParseNoResult = 0;
inline constexpr int kParseSuccess = 1;
inline constexpr int kParseFailure = 1000;
