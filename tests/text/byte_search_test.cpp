// Finding a byte a word or sixteen bytes at a time must agree with looking at every byte.
#include "text/byte_search.h"

#include <gtest/gtest.h>

#include <string>

namespace quorlin {
namespace {

// Every length of stretch against every place of the byte, with the byte also just past the
// stretch's end, where a search reading too far would find it.
TEST(FindByte, FindsTheFirstMatchAtEveryPlaceAndNothingPastTheEnd) {
  for (std::size_t length = 0; length <= 200; ++length) {
    for (std::size_t place = 0; place <= length; ++place) {
      std::string bytes(length, 'a');
      bytes += ",,,,,,,,,,,,,,,,";
      if (place < length) bytes[place] = ',';
      if (place + 3 < length) bytes[place + 3] = ',';
      const char* const begin = bytes.data();
      EXPECT_EQ(begin + place, FindByte(begin, begin + length, ',')) << length << " " << place;
    }
  }
}

}  // namespace
}  // namespace quorlin
