// The ruler's digits, cells, picture, scroll bars and mouse presses.
#include "app/ruler_view.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "app/qt_printers.h"

namespace quorlin {
namespace {

const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);

TEST(RulerDigitsTest, LastDigitOfEveryPosition) {
  EXPECT_EQ("", RulerDigits(0));
  EXPECT_EQ("123456789012345678901", RulerDigits(21));
  EXPECT_EQ("8901", RulerDigits(21).substr(17));
  EXPECT_EQ("Brk: 1", BreakListEntry(1));
}

struct CellsCase {
  const char* name;
  std::string line;
  int maxCells;
  QStringList cells;
};

void PrintTo(const CellsCase& cellsCase, std::ostream* out) { *out << cellsCase.name; }

class RulerCellsTest : public ::testing::TestWithParam<CellsCase> {};

TEST_P(RulerCellsTest, OneCellPerByte) {
  EXPECT_EQ(GetParam().cells, RulerCells(GetParam().line, GetParam().maxCells));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RulerCellsTest,
    ::testing::Values(
        CellsCase{"Ascii", "AB 1", 10, {"A", "B", " ", "1"}},
        CellsCase{"Utf8KeepsTrailingBytesEmpty", "\xC3\xA9" "1", 10, {"\u00E9", "", "1"}},
        CellsCase{"FourByteUtf8", "\xF0\x9F\x98\x80" "x", 10, {"\U0001F600", "", "", "", "x"}},
        CellsCase{"InvalidUtf8IsLatin1", "\xE9" "1", 10, {"\u00E9", "1"}},
        CellsCase{"TruncatedSequenceIsLatin1", "A\xC3", 10, {"A", "\u00C3"}},
        CellsCase{"OverlongIsLatin1", "\xC0\xAF", 10, {"\u00C0", "\u00AF"}},
        CellsCase{"SurrogateIsLatin1", "\xED\xA0\x80", 10, {"\u00ED", "\u00A0", ""}},
        CellsCase{"ControlsStayEmpty", "\tA\r\x7F", 10, {"", "A", "", ""}},
        CellsCase{"CutAtMaxCells", "ABCDEF", 3, {"A", "B", "C"}},
        CellsCase{"CutInsideCharacter", "A\xC3\xA9", 2, {"A", "\u00E9"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A UTF-8 file counts bytes too: each valid character in the cell of its first byte, each
// invalid byte a U+FFFD in its own cell, so cell i still stands for byte i.
TEST(RulerCellsOfUtf8, ShowAnInvalidByteAsAReplacementInItsOwnCell) {
  EXPECT_EQ(QStringList({"K", "\uFFFD", "l", "\u00E9", "", "\uFFFD", "n"}),
            RulerCells("K\xF6l\xC3\xA9\xC3n", 10, FixedUnit::Bytes, true));
  EXPECT_EQ(QStringList({"K", "\uFFFD", "l", "\u00E9"}), RulerCells("K\xF6l\xC3\xA9", 4, FixedUnit::Bytes, true));
}

RulerScan ThreeLineScan() {
  RulerScan scan;
  scan.title = "A,B";
  scan.lines = {"1234567890", "12345678901234567890", "123456789012345"};
  scan.countedLines = 3;
  scan.longest = 20;
  return scan;
}

RulerScan WideScan() {
  RulerScan scan;
  scan.title = "T";
  scan.lines.assign(50, std::string(300, 'x'));
  scan.countedLines = 50;
  scan.longest = 300;
  return scan;
}

class RulerViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view_.resize(400, 300);
    view_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view_));
    image_ = view_.findChild<QWidget*>("imgGrid");
    hScroll_ = view_.findChild<QScrollBar*>("hScroll");
    vScroll_ = view_.findChild<QScrollBar*>("vScroll");
    ASSERT_NE(nullptr, image_);
    ASSERT_NE(nullptr, hScroll_);
    ASSERT_NE(nullptr, vScroll_);
  }

  // Presses through the window, so the press reaches whatever lies under `at` in the panel.
  void ClickPanel(QPoint at, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(view_.windowHandle(), button, modifiers, at);
  }

  QColor PixelAt(int x, int y) { return view_.grab().toImage().pixelColor(x, y); }

  QPoint CellCentre(int cell, int row) const {
    return QPoint(cell * view_.CharWidth() + view_.CharWidth() / 2,
                  row * view_.RowHeight() + view_.RowHeight() / 2);
  }

  RulerView view_;
  QWidget* image_ = nullptr;
  QScrollBar* hScroll_ = nullptr;
  QScrollBar* vScroll_ = nullptr;
};

TEST_F(RulerViewTest, NamesItsParts) {
  EXPECT_EQ("pnlImg", view_.objectName());
  EXPECT_GT(view_.CharWidth(), 0);
  EXPECT_GT(view_.RowHeight(), 1);
}

TEST_F(RulerViewTest, PressInCellAsksForItsPosition) {
  view_.ShowScan(ThreeLineScan(), 21, false);
  QSignalSpy spy(&view_, &RulerView::breakToggleRequested);
  ClickPanel(QPoint(0, 2 * view_.RowHeight() + 2));
  ClickPanel(CellCentre(5, 3));
  ClickPanel(QPoint(20 * view_.CharWidth(), view_.RowHeight() / 2));
  // The spare cells right of the line length ask as well.
  ClickPanel(CellCentre(23, 2));
  ASSERT_EQ(4, spy.count());
  EXPECT_EQ(1, spy.at(0).at(0).toInt());
  EXPECT_EQ(6, spy.at(1).at(0).toInt());
  EXPECT_EQ(21, spy.at(2).at(0).toInt());
  EXPECT_EQ(24, spy.at(3).at(0).toInt());
}

TEST_F(RulerViewTest, PressOnScrolledImageAddsTheOffset) {
  view_.ShowScan(WideScan(), 301, false);
  ASSERT_TRUE(hScroll_->isEnabled());
  const int offset = 10 * view_.CharWidth() + 3;
  hScroll_->setValue(offset);
  vScroll_->setValue(5);
  EXPECT_EQ(QPoint(-offset, -5), image_->pos());

  QSignalSpy spy(&view_, &RulerView::breakToggleRequested);
  ClickPanel(CellCentre(2, 3));
  ASSERT_EQ(1, spy.count());
  EXPECT_EQ((2 * view_.CharWidth() + view_.CharWidth() / 2 + offset) / view_.CharWidth() + 1,
            spy.at(0).at(0).toInt());
}

TEST_F(RulerViewTest, OnlyPlainLeftPressesAsk) {
  view_.ShowScan(ThreeLineScan(), 21, false);
  QSignalSpy spy(&view_, &RulerView::breakToggleRequested);
  const QPoint at = CellCentre(4, 2);
  ClickPanel(at, Qt::RightButton);
  ClickPanel(at, Qt::MiddleButton);
  ClickPanel(at, Qt::LeftButton, Qt::ShiftModifier);
  ClickPanel(at, Qt::LeftButton, Qt::ControlModifier);
  ClickPanel(at, Qt::LeftButton, Qt::AltModifier);
  EXPECT_EQ(0, spy.count());
}

TEST_F(RulerViewTest, SecondPressOfDoubleClickDoesNotAsk) {
  view_.ShowScan(ThreeLineScan(), 21, false);
  QSignalSpy spy(&view_, &RulerView::breakToggleRequested);
  QTest::mouseDClick(view_.windowHandle(), Qt::LeftButton, {}, CellCentre(4, 2));
  EXPECT_EQ(1, spy.count());
  QTest::mouseDClick(image_, Qt::LeftButton, {}, CellCentre(4, 2));
  EXPECT_EQ(1, spy.count());
}

TEST_F(RulerViewTest, ScrollBarsDisabledWhenImageFits) {
  view_.resize(800, 600);
  view_.ShowScan(ThreeLineScan(), 21, false);
  EXPECT_EQ(QSize(26 * view_.CharWidth(), 6 * view_.RowHeight()), image_->size());
  EXPECT_FALSE(hScroll_->isEnabled());
  EXPECT_FALSE(vScroll_->isEnabled());
  EXPECT_TRUE(hScroll_->isVisible());
  EXPECT_TRUE(vScroll_->isVisible());
}

TEST_F(RulerViewTest, ScrollBarsCoverTheHiddenPart) {
  view_.ShowScan(WideScan(), 301, false);
  const int cw = view_.CharWidth();
  const int imageWidth = 306 * cw;
  const int imageHeight = 53 * view_.RowHeight();
  ASSERT_EQ(QSize(imageWidth, imageHeight), image_->size());

  const int hRange = imageWidth - (view_.width() - vScroll_->width());
  EXPECT_TRUE(hScroll_->isEnabled());
  EXPECT_EQ(0, hScroll_->minimum());
  EXPECT_EQ(hRange, hScroll_->maximum());
  EXPECT_EQ(std::max(hRange / 100, cw), hScroll_->pageStep());
  EXPECT_EQ(cw, hScroll_->singleStep());

  const int vRange = imageHeight - (view_.height() - hScroll_->height());
  EXPECT_TRUE(vScroll_->isEnabled());
  EXPECT_EQ(vRange, vScroll_->maximum());
  EXPECT_EQ(std::max(vRange / 100, cw), vScroll_->pageStep());
  EXPECT_EQ(1, vScroll_->singleStep());
}

TEST_F(RulerViewTest, NewScanScrollsBackAndClearDisablesBars) {
  view_.ShowScan(WideScan(), 301, false);
  hScroll_->setValue(40);
  view_.ShowScan(WideScan(), 301, false);
  EXPECT_EQ(0, hScroll_->value());
  EXPECT_EQ(QPoint(0, 0), image_->pos());

  hScroll_->setValue(40);
  view_.Clear();
  EXPECT_FALSE(hScroll_->isEnabled());
  EXPECT_EQ(QPoint(0, 0), image_->pos());
  EXPECT_EQ(QColor(Qt::white), PixelAt(view_.CharWidth() * 3, 1));
}

TEST_F(RulerViewTest, ImageWidthStopsAtLimit) {
  RulerScan scan = WideScan();
  scan.lines.assign(3, std::string(1500, 'x'));
  scan.countedLines = 3;
  view_.ShowScan(scan, 1501, false);
  EXPECT_EQ(RulerView::kMaxImageWidth, image_->width());
}

TEST_F(RulerViewTest, BandsAndRowLines) {
  const int h = view_.RowHeight();
  const int pastText = 24 * view_.CharWidth();  // inside the image, right of every line
  view_.ShowScan(ThreeLineScan(), 21, true);
  EXPECT_EQ(kSilver, PixelAt(pastText, h / 2));
  EXPECT_EQ(QColor(Qt::black), PixelAt(pastText, 0));
  EXPECT_EQ(kSilver, PixelAt(pastText, h + h / 2));
  EXPECT_EQ(QColor(Qt::black), PixelAt(pastText, 3 * h - 1));
  EXPECT_EQ(QColor(Qt::white), PixelAt(pastText, 3 * h - 2));

  view_.ShowScan(ThreeLineScan(), 21, false);
  EXPECT_EQ(kSilver, PixelAt(pastText, h / 2));
  EXPECT_EQ(QColor(Qt::white), PixelAt(pastText, h + h / 2));
}

TEST_F(RulerViewTest, MarksFollowTheBreakModel) {
  BreakModel breaks;
  view_.ShowScan(ThreeLineScan(), 21, false);
  view_.SetBreaks(&breaks);
  const int h = view_.RowHeight();
  // Row 1 is white right of the short title, so only a mark can make it red.
  const auto markX = [&](int position) { return (position - 1) * view_.CharWidth() + 1; };

  for (const int position : {5, 23}) {
    breaks.Set(position, true);
    view_.update();
    EXPECT_EQ(kRed, PixelAt(markX(position), h + h / 2)) << position;
    EXPECT_EQ(kRed, PixelAt(markX(position), 1)) << position;
    EXPECT_EQ(kRed, PixelAt(markX(position), 6 * h - 1)) << position;
    EXPECT_NE(kRed, PixelAt(markX(position) + 1, h + h / 2)) << position;

    breaks.Set(position, false);
    view_.update();
    EXPECT_EQ(QColor(Qt::white), PixelAt(markX(position), h + h / 2)) << position;
  }

  breaks.Set(5, true);
  view_.SetBreaks(nullptr);
  EXPECT_EQ(QColor(Qt::white), PixelAt(markX(5), h + h / 2));
}

}  // namespace
}  // namespace quorlin
