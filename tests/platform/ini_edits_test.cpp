#include "platform/ini_edits.h"

#include <gtest/gtest.h>

namespace quorlin::ini {
namespace {

TEST(IniEdits, ASectionsKeysAreReplacedUnderItsFirstHeaderAndNothingElseMoves) {
  const std::string text =
      "; top\n[a]\nk=1\n; about a\nold=2\n[b]\nk=3\n[A]\nlate=4\n";
  EXPECT_EQ("; top\n[a]\nk=9\nnew=8\n; about a\n[b]\nk=3\n",
            WithSectionKeys(text, "a", {{"k", "9"}, {"new", "8"}}));
  // Appended with the file's own line ends, after a last line that had none.
  EXPECT_EQ("[b]\r\nk=3\r\n[a]\r\nk=9\r\n", WithSectionKeys("[b]\r\nk=3", "a", {{"k", "9"}}));
  EXPECT_EQ("[a]\r\nk=9\r\n", WithSectionKeys("[a]", "a", {{"k", "9"}}));
}

TEST(IniEdits, AKeyGoesFromEverySectionOfTheNameOnly) {
  const std::string text = "[list]\nOrders = Text\nSales=SQLite\n[orders]\nOrders=1\n[LIST]\norders=x\n";
  EXPECT_EQ("[list]\nSales=SQLite\n[orders]\nOrders=1\n[LIST]\n", WithoutKey(text, "List", "orders"));
  EXPECT_EQ(text, WithoutKey(text, "list", "Missing"));
}

}  // namespace
}  // namespace quorlin::ini
