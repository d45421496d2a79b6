// The layout's own date order and decimal symbol, and what sample values tell of them.
#include "schema/file_conventions.h"

#include <cctype>
#include <ostream>

#include "platform/trim.h"

namespace quorlin {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Digits from `at`; their count, and their value while it fits.
std::size_t Digits(std::string_view text, std::size_t at, int& value) {
  std::size_t count = 0;
  value = 0;
  for (; at + count < text.size() && IsDigit(text[at + count]); ++count) {
    if (value < 100000) value = value * 10 + (text[at + count] - '0');
  }
  return count;
}

// One choice that every telling value agrees on, or none.
class Vote {
 public:
  void Add(std::string_view choice) {
    if (disagree_) return;
    if (choice_.empty()) {
      choice_ = choice;
    } else if (choice_ != choice) {
      disagree_ = true;
    }
  }
  std::string Result() const { return disagree_ ? std::string() : std::string(choice_); }

 private:
  std::string_view choice_;
  bool disagree_ = false;
};

// A date of three numbers (a time may follow it) tells its order when a part cannot be the
// month.
void VoteDateOrder(std::string_view value, Vote& vote) {
  int first = 0, second = 0, third = 0;
  const std::size_t firstDigits = Digits(value, 0, first);
  if (firstDigits == 0 || firstDigits > 4 || firstDigits == 3) return;
  std::size_t at = firstDigits;
  if (at >= value.size() || (value[at] != '/' && value[at] != '-' && value[at] != '.')) return;
  const char separator = value[at++];
  const std::size_t secondDigits = Digits(value, at, second);
  if (secondDigits == 0 || secondDigits > 2) return;
  at += secondDigits;
  if (at >= value.size() || value[at] != separator) return;
  const std::size_t thirdDigits = Digits(value, ++at, third);
  if (thirdDigits == 0 || thirdDigits > 4) return;
  at += thirdDigits;
  if (at < value.size() && value[at] != ' ' && value[at] != 'T') return;
  if (firstDigits == 4) {
    vote.Add(kDateOrders[2]);
  } else if (thirdDigits == 4 || thirdDigits == 2) {
    if (first > 12 && first <= 31 && second <= 12) vote.Add(kDateOrders[0]);
    if (second > 12 && second <= 31 && first <= 12) vote.Add(kDateOrders[1]);
  }
}

// A number with one decimal mark tells which it is unless exactly three digits follow it (1.234
// may be a thousand); thousands marks before a different last mark tell too.
void VoteDecimalSymbol(std::string_view value, Vote& vote) {
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) value.remove_prefix(1);
  if (value.empty() || !IsDigit(value.front())) return;
  std::size_t points = 0, commas = 0;
  for (const char c : value) {
    if (c == '.') {
      ++points;
    } else if (c == ',') {
      ++commas;
    } else if (!IsDigit(c)) {
      return;
    }
  }
  const std::size_t last = value.find_last_of(".,");
  if (last == std::string_view::npos || last + 1 == value.size()) return;
  const char mark = value[last];
  const std::size_t marks = mark == '.' ? points : commas;
  const std::size_t others = mark == '.' ? commas : points;
  const std::string_view symbol = mark == '.' ? kDecimalSymbols[0] : kDecimalSymbols[1];
  if (marks == 1 && others > 0) {
    vote.Add(symbol);  // 1.234,56 or 1,234.56
  } else if (marks == 1 && others == 0 && value.size() - last - 1 != 3) {
    vote.Add(symbol);
  }
}

}  // namespace

LocaleSettings WithConventions(LocaleSettings locale, const FileConventions& conventions) {
  if (!conventions.dateOrder.empty()) {
    // As a locale writes its short date format: "MM" is the month, "mm" would be minutes.
    locale.shortDateFormat = conventions.dateOrder;
    for (std::size_t at = locale.shortDateFormat.find("mm"); at != std::string::npos;
         at = locale.shortDateFormat.find("mm", at + 2)) {
      locale.shortDateFormat.replace(at, 2, "MM");
    }
  }
  if (conventions.decimalSymbol.size() == 1) locale.decimalSeparator = conventions.decimalSymbol.front();
  return locale;
}

FileConventions ProposeConventions(const std::vector<std::vector<std::string>>& rows) {
  Vote dateOrder;
  Vote decimalSymbol;
  for (const auto& row : rows) {
    for (const std::string& cell : row) {
      const std::string_view value = Trim(cell);
      VoteDateOrder(value, dateOrder);
      VoteDecimalSymbol(value, decimalSymbol);
    }
  }
  return {dateOrder.Result(), decimalSymbol.Result()};
}

void PrintTo(const FileConventions& conventions, std::ostream* out) {
  *out << "{date order \"" << conventions.dateOrder << "\" decimal \"" << conventions.decimalSymbol << "\"}";
}

}  // namespace quorlin
