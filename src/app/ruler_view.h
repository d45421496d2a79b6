// The fixed-length ruler: the first lines of a file under position digits, with break marks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "text/fixed_ruler.h"

class QScrollBar;

namespace quorlin {

class RulerImage;

// The last digit of every position from 1 to `lineLength`: "1234567890123...".
std::string RulerDigits(int lineLength);

// What each of the first `maxCells` positions of `line` shows in its character cell. Counting
// bytes, a line that is valid UTF-8 shows each character in the cell of its first byte and
// leaves the cells of its other bytes empty, and any other line shows each byte as Latin-1 or,
// `invalidAsReplacement` (a UTF-8 file), its valid characters so and each invalid byte as
// U+FFFD, so cell i always stands for byte i. Counting characters (a line decoded from a single-byte set),
// cell i shows character i. Control characters stay empty.
QStringList RulerCells(std::string_view line, int maxCells, FixedUnit unit = FixedUnit::Bytes,
                       bool invalidAsReplacement = false);

// The text of a break list entry: "Brk: " followed by the position.
QString BreakListEntry(int position);

// The ruler panel "pnlImg": the image "imgGrid" in a clipping area, with the scroll bars
// "hScroll" under it and "vScroll" at its right. The break marks are painted from the break
// model on every paint, so after changing the model the owner calls RepaintBreaks().
class RulerView : public QWidget {
  Q_OBJECT

 public:
  // The image is never drawn wider than this many pixels.
  static constexpr int kMaxImageWidth = 8200;

  explicit RulerView(QWidget* parent = nullptr);

  // Width in pixels of one character cell: the width of "X" in the ruler font.
  int CharWidth() const { return charWidth_; }
  // Height in pixels of one ruler row: the font's line height plus 1.
  int RowHeight() const { return rowHeight_; }
  // Size in pixels of the ruler image.
  QSize ImageSize() const;

  // Draws `scan` under the digits of positions 1..`lineLength`, line 1 on a silver band when
  // `headerBand` is set; sizes the image and scrolls back to the top left.
  void ShowScan(const RulerScan& scan, int lineLength, bool headerBand);
  // Paints the marks of `breaks` (not owned; null for none); it must outlive its use here.
  void SetBreaks(const BreakModel* breaks);
  // Paints the marks anew after the break model changed.
  void RepaintBreaks();
  // Makes the image a white area the size of the panel (marks of the model are still shown).
  void Clear();

 signals:
  // An unmodified left press on the image's cell of `position` (1-based, may exceed the line).
  void breakToggleRequested(int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class RulerImage;

  void LayoutChildren();
  void UpdateScrollBars(bool toOrigin);

  QFont font_;
  int charWidth_ = 1;
  int rowHeight_ = 1;

  bool hasScan_ = false;
  bool headerBand_ = false;
  int lineLength_ = 0;
  int countedLines_ = 0;
  QStringList digitCells_;
  QStringList titleCells_;
  std::vector<QStringList> lineCells_;
  const BreakModel* breaks_ = nullptr;

  QWidget* clipArea_ = nullptr;
  RulerImage* image_ = nullptr;
  QScrollBar* hScroll_ = nullptr;
  QScrollBar* vScroll_ = nullptr;
};

}  // namespace quorlin
