// Guess Field Types in the window: the grid's fields typed in place, the ruler's breaks made
// into a named and typed field list, and the two refusals that change nothing.
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

// The tests run in the C locale: month-day-year dates, "." for decimals.
const char kPeople[] =
    "Anna,,01/02/1990,1,1.5,Yes\r\n"
    "Bob,,07/30/1985,2,2,No\r\n"
    "Carl,,12/24/1970,300,3,Yes\r\n";

// Fields of widths 10, 6 and 7 under a comma-separated title line; the line length is 24.
const char kStock[] =
    "CODE,QTY,NAME\r\n"
    "A100      12    Bolts  \r\n"
    "B200      7     Nuts   \r\n"
    "C300      140   Washers\r\n";

class GuessTest : public WindowTest {
 protected:
  QStringList Column(int column) {
    QStringList cells;
    for (int row = 0; row < FieldRows(); ++row) cells << FieldCell(row, column);
    return cells;
  }
};

TEST_F(GuessTest, GridFieldsAreTypedByTheirFirstValueAndTheVote) {
  Start(DataFile("people.csv", kPeople));
  ASSERT_EQ((QStringList{"Unknown", "Unknown", "Unknown", "Unknown", "Unknown", "Unknown"}), Column(1));
  Click("cmdGuess");
  EXPECT_TRUE(dialogs.Boxes().empty());
  EXPECT_EQ((QStringList{"Field1", "Field2", "Field3", "Field4", "Field5", "Field6"}), Column(0));
  // 1, 2, 300 is Long; 1.5, 2, 3 is Byte (two against one, no Long); a blank column is Char.
  EXPECT_EQ((QStringList{"Char", "Char", "Date", "Long", "Byte", "Bit"}), Column(1));
  EXPECT_EQ("4", FieldCell(0, 2));
  EXPECT_EQ("0", FieldCell(1, 2));
  EXPECT_EQ("Field1", Find<QLineEdit>("txtFieldName")->text());
  EXPECT_EQ("Char", Find<QComboBox>("luFieldType")->currentText());
  EXPECT_TRUE(window->LayoutChanged());
}

class FixedGuessTest : public GuessTest {
 protected:
  void SetUp() override {
    Start(DataFile("stock.dat", kStock));
    SwitchToFixedLength();
    Find<QCheckBox>("chkHeaderRow")->click();
    dialogs.Forget();
  }
};

TEST_F(FixedGuessTest, TheBreaksBecomeFieldsNamedByTheTitleLine) {
  MarkBreak(11);
  MarkBreak(17);
  Item("mnuGuess")->trigger();
  EXPECT_TRUE(dialogs.Boxes().empty());
  EXPECT_EQ((QStringList{"CODE", "QTY", "NAME"}), Column(0));
  EXPECT_EQ((QStringList{"Char", "Byte", "Char"}), Column(1));
  EXPECT_EQ((QStringList{"10", "6", "7"}), Column(2));
  EXPECT_EQ("CODE", Find<QLineEdit>("txtFieldName")->text());
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(FixedGuessTest, RefusalsChangeNothing) {
  MarkBreak(11);
  dialogs.Expect(BoxKind::Inform);
  Click("cmdGuess");
  ASSERT_EQ(1u, dialogs.Boxes().size());
  EXPECT_EQ(BoxKind::Inform, dialogs.Boxes()[0].kind);
  EXPECT_EQ("Number of Fields defined\ndoes NOT MATCH number marked in Grid", dialogs.Boxes()[0].text);
  EXPECT_EQ(0, FieldRows());

  // A mark past the end of the lines counts on the ruler but cuts no field.
  MarkBreak(26);
  dialogs.Expect(BoxKind::Inform);
  Click("cmdGuess");
  EXPECT_EQ("Field Count (2) and LineBreaks (3) do not agree", dialogs.Boxes().back().text);
  EXPECT_EQ(0, FieldRows());
}

}  // namespace
}  // namespace quorlin::testing
