#pragma once

// Report codes of the downloaders (the install driver's vocabulary for them).

#include <cstdint>

inline constexpr int32_t DL_CODE_START = 1001;     // value 1.0
inline constexpr int32_t DL_CODE_PROGRESS = 1002;  // value: fraction done, 0 to 1
inline constexpr int32_t DL_CODE_SUCCESS = 1003;   // text: the method
inline constexpr int32_t DL_CODE_FAIL = 1004;      // value: the failing result code
inline constexpr int32_t DL_CODE_RETRY = 1005;     // asks the owner to call Start again
inline constexpr int32_t DL_CODE_MD5 = 1006;       // digest notice; text: which step failed
