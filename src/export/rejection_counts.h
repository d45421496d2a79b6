// What the typed writers count across their twins: values that were no value of their
// field's type, and bytes that were no UTF-8.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorlin {

class RejectionCounts {
 public:
  // Safe on several threads at once.
  void Add(std::int64_t rejected, std::size_t replaced) {
    if (rejected != 0) rejected_.fetch_add(rejected, std::memory_order_relaxed);
    if (replaced != 0) replaced_.fetch_add(static_cast<std::int64_t>(replaced), std::memory_order_relaxed);
  }

  std::int64_t Rejected() const { return rejected_.load(); }
  std::int64_t Replaced() const { return replaced_.load(); }

  // One line for each count that is not zero.
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    if (Rejected() > 0) {
      messages.push_back(Rejected() == 1
                             ? "1 value was no number or date of its field's type and was written as null"
                             : std::to_string(Rejected()) +
                                   " values were no number or date of their field's type and were written as null");
    }
    if (Replaced() > 0) {
      messages.push_back(Replaced() == 1 ? "1 byte that is not UTF-8 was written as the character U+FFFD"
                                         : std::to_string(Replaced()) +
                                               " bytes that are not UTF-8 were written as the character U+FFFD");
    }
    return messages;
  }

 private:
  std::atomic<std::int64_t> rejected_{0};
  std::atomic<std::int64_t> replaced_{0};
};

}  // namespace quorlin
