// The fixed-length view of the main window: break marks, the break list, Delete, Up and Down.
#include <QImage>
#include <QLabel>

#include "app/ruler_view.h"
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

// Fields of widths 10, 6 and 7: the longest line is 23, so the line length is 24.
const char kStock[] =
    "CODE,QTY,NAME\r\n"
    "A100      12    Bolts  \r\n"
    "B200      7     Nuts   \r\n"
    "C300      140   Washers\r\n";

class RulerTest : public WindowTest {
 protected:
  void SetUp() override {
    Start(DataFile("stock.dat", kStock));
    SwitchToFixedLength();
    ruler = Find<RulerView>("pnlImg");
    image = ruler->findChild<QWidget*>("imgGrid");
  }

  void ClickRuler(int position, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
    const int x = (position - 1) * ruler->CharWidth() + ruler->CharWidth() / 2;
    QTest::mouseClick(image, button, modifiers, QPoint(x, 2 * ruler->RowHeight() + 2));
  }

  // Whether the red mark of `position` stands on the image, down in the first data row.
  bool MarkShown(int position) {
    const QImage shot = image->grab().toImage();
    const int x = (position - 1) * ruler->CharWidth() + 1;
    return shot.pixelColor(x, 2 * ruler->RowHeight() + ruler->RowHeight() / 2) == QColor(255, 0, 0);
  }

  QStringList Breaks() {
    QStringList entries;
    auto* list = Find<QListWidget>("lstLines");
    for (int row = 0; row < list->count(); ++row) entries << list->item(row)->text();
    return entries;
  }

  QString Count() { return Find<QLineEdit>("txtFieldCount")->text(); }

  void Add(const QString& name, const QString& type, const QString& width) {
    Find<QLineEdit>("txtFieldName")->setText(name);
    Find<QComboBox>("luFieldType")->setCurrentText(type);
    Find<QLineEdit>("txtWidth")->setText(width);
    Click("cmdAdd");
  }

  // Three fields A, B, C of widths 10, 6 and 7 with their breaks at 11 and 17.
  void ThreeFields() {
    ClickRuler(11);
    ClickRuler(17);
    Add("A", "Char", "10");
    Add("B", "Long", "6");
    Add("C", "Char", "7");
  }

  QStringList Column(int column) {
    QStringList cells;
    for (int row = 0; row < FieldRows(); ++row) cells << FieldCell(row, column);
    return cells;
  }

  RulerView* ruler = nullptr;
  QWidget* image = nullptr;
};

TEST_F(RulerTest, FixedLengthShowsTheRulerInPlaceOfTheGrid) {
  EXPECT_TRUE(Find<QTableView>("grdData")->isHidden());
  for (const char* shown : {"pnlImg", "lblFieldCount", "txtFieldCount", "lblLength", "txtLength", "lstLines"}) {
    EXPECT_FALSE(Find<QWidget>(shown)->isHidden()) << shown;
  }
  EXPECT_TRUE(Item("mnuFixedLength")->isVisible());
  EXPECT_EQ("1", Count());
  EXPECT_EQ("24", Find<QLineEdit>("txtLength")->text());
  EXPECT_TRUE(Breaks().isEmpty());
  EXPECT_EQ(0, FieldRows());
  EXPECT_FALSE(window->LayoutChanged());
  EXPECT_EQ((24 + 5) * ruler->CharWidth(), ruler->ImageSize().width());
  // The break list does not take the file list's width.
  QApplication::processEvents();
  EXPECT_EQ(Find<QTreeView>("dirList")->width(), Find<QListWidget>("lstFiles")->width());
  EXPECT_LE(3 * Find<QListWidget>("lstFiles")->fontMetrics().height(), Find<QListWidget>("lstFiles")->height());
}

TEST_F(RulerTest, AClickSetsABreakAndASecondClearsIt) {
  ClickRuler(11);
  EXPECT_EQ(QStringList{"Brk: 11"}, Breaks());
  EXPECT_EQ("2", Count());
  EXPECT_TRUE(window->LayoutChanged());
  EXPECT_TRUE(MarkShown(11));

  ClickRuler(5);
  EXPECT_EQ((QStringList{"Brk: 5", "Brk: 11"}), Breaks());
  EXPECT_EQ("3", Count());

  ClickRuler(11);
  EXPECT_EQ(QStringList{"Brk: 5"}, Breaks());
  EXPECT_EQ("2", Count());
  EXPECT_FALSE(MarkShown(11));
  EXPECT_TRUE(MarkShown(5));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(RulerTest, EveryBreakChangeRepaintsTheImage) {
  QApplication::processEvents();
  PaintCounter counter(image);
  ClickRuler(11);
  QApplication::processEvents();
  EXPECT_LT(0, counter.paints);

  Add("A", "Char", "10");
  Add("B", "Char", "13");
  counter.paints = 0;
  ClickField(1);
  Click("cmdRemove");
  QApplication::processEvents();
  EXPECT_LT(0, counter.paints);
}

TEST_F(RulerTest, TheFirstCellGivesABreakAtPositionOne) {
  ClickRuler(1);
  EXPECT_EQ(QStringList{"Brk: 1"}, Breaks());
}

TEST_F(RulerTest, ModifiedAndRightClicksChangeNothing) {
  ClickRuler(11, Qt::RightButton);
  ClickRuler(11, Qt::LeftButton, Qt::ShiftModifier);
  ClickRuler(11, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_TRUE(Breaks().isEmpty());
  EXPECT_EQ("1", Count());
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(RulerTest, ASpareCellPastTheLineIsCountedButNotListed) {
  ClickRuler(26);
  EXPECT_TRUE(Breaks().isEmpty());
  EXPECT_EQ("2", Count());
  EXPECT_TRUE(MarkShown(26));
}

TEST_F(RulerTest, ThreeLinesOfTenTwentyAndFifteenGiveLength21) {
  const std::string path = DataFile("short.dat", "title\r\n" + std::string(10, 'a') + "\r\n" +
                                                     std::string(20, 'b') + "\r\n" +
                                                     std::string(15, 'c') + "\r\n" +
                                                     std::string(40, 'd') + "\r\n");
  Find<QLineEdit>("txtStart")->setText("2");
  Find<QLineEdit>("txtRows")->setText("3");
  Find<QLineEdit>("txtInputFile")->setText(QString::fromStdString(path));
  dialogs.ExpectFile(true, QString::fromStdString(path));
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdBrowse");
  EXPECT_EQ("21", Find<QLineEdit>("txtLength")->text());
}

// Which break goes and which width grows is the model's rule (its tests take every field);
// here the window shows the outcome: list, break list, count and marks.
TEST_F(RulerTest, DeleteShowsTheMergedFieldsAndTheBreakThatStays) {
  ThreeFields();
  ASSERT_EQ("3", Count());
  ClickField(2);
  Click("cmdRemove");
  EXPECT_EQ((QStringList{"A", "B"}), Column(0));
  EXPECT_EQ((QStringList{"10", "13"}), Column(2));
  EXPECT_EQ(QStringList{"Brk: 11"}, Breaks());
  EXPECT_EQ("2", Count());
  EXPECT_TRUE(MarkShown(11));
  EXPECT_FALSE(MarkShown(17));
  EXPECT_EQ("B", Find<QLineEdit>("txtFieldName")->text());

  ClickField(0);
  Click("cmdRemove");
  Click("cmdRemove");
  EXPECT_EQ(0, FieldRows());
  EXPECT_TRUE(Breaks().isEmpty());
  EXPECT_EQ("0", Count());
  EXPECT_EQ("", Find<QLineEdit>("txtFieldName")->text());
  EXPECT_EQ("0", Find<QLineEdit>("txtWidth")->text());
}

TEST_F(RulerTest, UpAndDownSwapTheBreakEntriesAtTheSamePlaces) {
  ThreeFields();
  ClickField(1);
  Click("cmdUp");
  EXPECT_EQ((QStringList{"B", "A", "C"}), Column(0));
  EXPECT_EQ((QStringList{"Brk: 17", "Brk: 11"}), Breaks());
  EXPECT_TRUE(MarkShown(11));
  EXPECT_TRUE(MarkShown(17));

  Click("cmdDown");
  EXPECT_EQ((QStringList{"A", "B", "C"}), Column(0));
  EXPECT_EQ((QStringList{"Brk: 11", "Brk: 17"}), Breaks());

  // The last field has no break of its own after it: its move leaves the list alone.
  ClickField(2);
  Click("cmdUp");
  EXPECT_EQ((QStringList{"A", "C", "B"}), Column(0));
  EXPECT_EQ((QStringList{"Brk: 11", "Brk: 17"}), Breaks());
  EXPECT_EQ("3", Count());
}

}  // namespace
}  // namespace quorlin::testing
