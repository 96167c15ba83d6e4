#pragma once

// The option map built from the process's arguments, and the text-to-value rules shared
// by the command line and the INI file.
//
// Each argument that begins with "-" and contains "=" gives the key before the first "="
// and the value after it; any other argument is a key with an empty value. Keys are exact,
// case-sensitive texts and the first occurrence of a key wins.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class CommandLineOptions {
  public:
    // On POSIX the process's argv is the split command line; argv[0] counts like any other.
    explicit CommandLineOptions(const std::vector<std::string>& arguments);

    // The value of `key`, or nullopt when the key was not given.
    std::optional<std::string> Text(std::string_view key) const;
    std::optional<int32_t> Integer(std::string_view key) const;
    // nullopt also when the value is not a finite number (see ParseDouble).
    std::optional<double> Double(std::string_view key) const;
    std::optional<bool> Bool(std::string_view key) const;

  private:
    std::map<std::string, std::string, std::less<>> options_;
};

// Decimal integer after optional blanks and sign, trailing text ignored ("12ab" is 12);
// 0 when the text does not start with a number or the number is out of the 32-bit range.
int32_t ParseInteger(std::string_view text);

// Decimal floating-point number after optional blanks and sign, trailing text ignored;
// nullopt when the text does not start with a number or the number is out of range or not
// finite ("1e999", "inf", "nan").
std::optional<double> ParseDouble(std::string_view text);

// True only for the exact text "true".
bool ParseBool(std::string_view text);

}  // namespace app
