// Converting the texts of the window's number boxes to whole numbers.
#pragma once

#include <iosfwd>
#include <optional>
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

// A number box of the layout: the text as the box holds it, which is what gets saved, and its
// whole number, converted once when the text is set.
class NumberText {
 public:
  NumberText(std::string text);
  NumberText(const char* text) : NumberText(std::string(text)) {}
  explicit NumberText(long long value);

  const std::string& Text() const { return text_; }
  bool IsWhole() const { return value_.has_value(); }
  // The whole number; raises ConversionError as ToInteger does when the text holds none.
  long long Value() const;

  bool operator==(const NumberText& other) const { return text_ == other.text_; }

 private:
  std::string text_;
  std::optional<long long> value_;
};

void PrintTo(const NumberText& number, std::ostream* out);

}  // namespace quorlin
