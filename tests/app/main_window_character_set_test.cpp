// The character set choice beside the layout values: what a file's first bytes show, and the
// file read anew in the set the user picks.
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

// Windows-1252: José, Köln, curly quotes and the euro.
const char kWindowsNames[] = "Jos\xE9,K\xF6ln\r\n\x93" "Ann\x94,\x80 12\r\n";

class CharacterSetChoice : public WindowTest {
 protected:
  QComboBox* Choice() { return Find<QComboBox>("cboCharacterSet"); }
  QStringList Row(int row) { return {Cell(row, 0), Cell(row, 1)}; }
};

TEST_F(CharacterSetChoice, ShowsTheSetAFileWithoutLayoutIsReadIn) {
  Start(DataFile("names.csv", kWindowsNames));
  EXPECT_EQ("ANSI", Choice()->currentText());
  EXPECT_EQ((QStringList{"Jos\u00E9", "K\u00F6ln"}), Row(2));
  EXPECT_EQ((QStringList{"\u201CAnn\u201D", "\u20AC 12"}), Row(3));
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(CharacterSetChoice, AnotherSetReadsTheFileAnewAndMarksTheLayout) {
  Start(DataFile("names.csv", kWindowsNames));
  emit Choice()->textActivated("CP850");
  EXPECT_TRUE(dialogs.Boxes().empty());
  EXPECT_EQ("CP850", Choice()->currentText());
  // In code page 850 the same bytes are other letters.
  EXPECT_EQ((QStringList{"Jos\u00DA", "K\u00F7ln"}), Row(2));
  EXPECT_TRUE(window->LayoutChanged());
}

}  // namespace
}  // namespace quorlin::testing
