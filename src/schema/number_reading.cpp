#include "schema/number_reading.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/trim.h"
#include "schema/value_recognisers.h"

namespace quorlin {

namespace {

std::string_view WithoutPlusSign(std::string_view text) {
  return !text.empty() && text.front() == '+' ? text.substr(1) : text;
}

}  // namespace

// Its digits as a whole number and the power of ten that scales them are both held exactly by a
// double, so the one division rounds once and gives the double nearest to the text, as
// from_chars does, in one pass without the general checks.
bool ReadShortPlainDecimal(std::string_view text, double& value) {
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const char* at = text.data();
  const char* const end = at + text.size();
  const bool negative = at != end && *at == '-';
  if (negative) ++at;
  // The whole digits and then the fraction's, each run in a loop of its own, so that a digit
  // costs one test and not the three that telling it from a point or a sign would.
  std::uint64_t digits = 0;
  const auto readDigits = [&] {
    const char* const start = at;
    for (unsigned digit; at != end && (digit = static_cast<unsigned char>(*at) - unsigned{'0'}) <= 9; ++at) {
      digits = digits * 10 + digit;
    }
    return static_cast<std::size_t>(at - start);
  };
  std::size_t count = readDigits();
  std::size_t scale = 0;
  if (at != end && *at == '.') {
    ++at;
    scale = readDigits();
    count += scale;
  }
  if (at != end || count == 0 || count > 15) return false;
  value = static_cast<double>(digits) / kPowersOfTen[scale];
  if (negative) value = -value;
  return true;
}


bool IsPlainDecimal(std::string_view text, char separator) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  bool digits = false;
  bool separatorSeen = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == separator && !separatorSeen) {
      separatorSeen = true;
    } else {
      return false;
    }
  }
  return digits;
}

std::optional<std::int64_t> ReadPlainWholeDigits(std::string_view text) {
  const char* first = text.data();
  const char* const last = text.data() + text.size();
  const char* firstDigit = first;
  if (first != last && *first == '+') {
    firstDigit = ++first;  // from_chars reads a minus sign, not a plus
  } else if (first != last && *first == '-') {
    ++firstDigit;
  }
  if (firstDigit == last || *firstDigit < '0' || *firstDigit > '9') return std::nullopt;
  // Eighteen digits cannot overflow, and hardly a whole number of a file has more, so up to
  // that many are summed without from_chars' check at every digit.
  if (last - firstDigit <= 18) {
    std::int64_t sum = 0;
    for (const char* at = firstDigit; at != last; ++at) {
      const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};  // one test tells a digit
      if (digit > 9) return std::nullopt;
      sum = sum * 10 + digit;
    }
    return firstDigit != first ? -sum : sum;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

NumberReading ReadNumber(std::string_view text, const LocaleSettings& locale) {
  const std::string_view trimmed = Trim(text);
  // Most values of a file are plain decimals, which read exactly as the full rules would read
  // them, without their checks.
  if (locale.decimalSeparator == '.') {
    double value = 0;
    if (ReadShortPlainDecimal(trimmed, value)) return {NumberOutcome::Read, value};
  }
  if (locale.decimalSeparator == '.' && IsPlainDecimal(trimmed, '.')) {
    const std::string_view digits = WithoutPlusSign(trimmed);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) return {NumberOutcome::Read, value};
  }
  if (!IsNumeric(trimmed, locale)) return {};
  std::string plain(WithoutPlusSign(trimmed));
  for (char& c : plain) {
    if (c == locale.decimalSeparator) c = '.';
  }
  // The recognisers read a separator without digits around it as zero, exponent or not.
  const std::size_t exponent = plain.find_first_of("eE");
  if (plain.find_first_of("0123456789") >= exponent) return {NumberOutcome::Read, 0.0};
  const char* const first = plain.data();
  const char* const last = plain.data() + plain.size();
  double value = 0;
  const std::from_chars_result read = std::from_chars(first, last, value);
  if (read.ec == std::errc() && read.ptr == last) return {NumberOutcome::Read, value};
  if (read.ec != std::errc::result_out_of_range) return {};
  // Past the double's range one way or the other: the long double that holds every number
  // IsNumeric accepts tells which, and rounds a tiny one to the nearest double.
  long double wide = 0;
  std::from_chars(first, last, wide);
  if (std::fabs(wide) > std::numeric_limits<double>::max()) return {NumberOutcome::OutOfRange, 0.0};
  return {NumberOutcome::Read, static_cast<double>(wide)};
}

std::string NumberOutOfRangeMessage(std::string_view text) {
  return "\"" + std::string(Trim(text)) + "\" is out of range for a Double";
}

}  // namespace quorlin
