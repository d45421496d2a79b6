// Converting the texts of the window's number boxes to whole numbers.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorlin {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole number in `text` (blanks around it allowed, optional sign, decimal digits, or
// hexadecimal after "$" or "0x"). Anything else raises ConversionError with the message
// "'<text>' is not a valid integer value".
long long ToInteger(std::string_view text);

}  // namespace quorlin
