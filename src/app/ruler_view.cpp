// The fixed-length ruler panel, its image and its scroll bars.
#include "app/ruler_view.h"

#include <algorithm>
#include <cmath>

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QResizeEvent>
#include <QScrollBar>

#include "text/utf8_text.h"

namespace quorlin {

namespace {

const QColor kBandColour(192, 192, 192);
const QColor kMarkColour(255, 0, 0);

QString PrintableCell(char32_t code) {
  if (!QChar::isPrint(code)) return QString();
  return QString::fromUcs4(&code, 1);
}

}  // namespace

QString BreakListEntry(int position) { return QStringLiteral("Brk: %1").arg(position); }

std::string RulerDigits(int lineLength) {
  std::string digits;
  for (int position = 1; position <= lineLength; ++position) {
    digits.push_back(static_cast<char>('0' + position % 10));
  }
  return digits;
}

QStringList RulerCells(std::string_view line, int maxCells, FixedUnit unit, bool invalidAsReplacement) {
  QStringList cells;
  if (unit == FixedUnit::Characters) {
    std::u32string codes;
    DecodeUtf8(line.substr(0, Utf8Advance(line, 0, static_cast<std::size_t>(std::max(maxCells, 0)))), codes);
    for (const char32_t code : codes) cells.append(PrintableCell(code));
    return cells;
  }
  const std::size_t count = std::min<std::size_t>(line.size(), std::max(maxCells, 0));
  cells.reserve(static_cast<qsizetype>(count));
  if (IsValidUtf8(line)) {
    // Only the shown cells are decoded, with the whole character the last of them begins.
    std::u32string codes;
    DecodeUtf8(line.substr(0, Utf8CutAfter(line, count)), codes);
    for (const char32_t code : codes) {
      if (static_cast<std::size_t>(cells.size()) >= count) break;
      cells.append(PrintableCell(code));
      for (std::size_t i = 1; i < Utf8Length(code) && static_cast<std::size_t>(cells.size()) < count; ++i) {
        cells.append(QString());
      }
    }
  } else if (invalidAsReplacement) {
    // Each character keeps the positions of its bytes; an invalid byte is one U+FFFD.
    for (std::size_t at = 0; at < count;) {
      char32_t code = 0;
      const std::size_t length = Utf8SequenceAt(line.substr(at), code);
      cells.append(length == 0 ? QString(QChar(0xFFFD)) : PrintableCell(code));
      for (std::size_t i = 1; i < length && at + i < count; ++i) cells.append(QString());
      at += length == 0 ? 1 : length;
    }
  } else {
    for (std::size_t at = 0; at < count; ++at) {
      cells.append(PrintableCell(static_cast<unsigned char>(line[at])));
    }
  }
  return cells;
}

// The ruler picture. It lives inside the panel's clipping area and is moved to minus the scroll
// positions, so its own coordinates are always image pixels.
class RulerImage : public QWidget {
 public:
  RulerImage(RulerView* view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, Qt::white);
    if (view_->hasScan_) PaintScan(painter, dirty);
    PaintMarks(painter, dirty);
  }

  void mousePressEvent(QMouseEvent* event) override {
    const bool modified =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    // Some platforms deliver the second press of a double click as a press as well.
    const bool secondOfDouble = event->flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    if (event->button() != Qt::LeftButton || modified || secondOfDouble) return;
    const int x = static_cast<int>(std::floor(event->position().x()));
    if (x < 0) return;
    emit view_->breakToggleRequested(x / view_->charWidth_ + 1);
  }

  // QWidget would treat the second press of a double click as another press.
  void mouseDoubleClickEvent(QMouseEvent*) override {}

 private:
  // A band across the image from row `top` up to, not including, `bottom`, outlined in black.
  void DrawBand(QPainter& painter, int top, int bottom, const QColor& fill) const {
    painter.fillRect(QRect(0, top, width(), bottom - top), fill);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, top, width() - 1, bottom - top - 1));
  }

  void DrawCells(QPainter& painter, const QStringList& cells, int top, const QRect& dirty) const {
    const int charWidth = view_->charWidth_;
    // Glyphs can reach a little into the next cells, so start a few cells before the dirty area.
    const int first = std::max(0, dirty.left() / charWidth - 2);
    const int last = std::min<int>(dirty.right() / charWidth, static_cast<int>(cells.size()) - 1);
    const int baseline = top + QFontMetrics(view_->font_).ascent();
    for (int cell = first; cell <= last; ++cell) {
      if (!cells[cell].isEmpty()) painter.drawText(QPoint(cell * charWidth, baseline), cells[cell]);
    }
  }

  void PaintScan(QPainter& painter, const QRect& dirty) const {
    const int h = view_->rowHeight_;
    painter.setFont(view_->font_);
    DrawBand(painter, 0, h - 1, kBandColour);
    painter.setPen(Qt::black);
    DrawCells(painter, view_->digitCells_, 0, dirty);

    DrawBand(painter, h, 2 * h - 1, view_->headerBand_ ? kBandColour : QColor(Qt::white));
    painter.setPen(Qt::black);
    DrawCells(painter, view_->titleCells_, h - 1, dirty);

    for (std::size_t i = 0; i < view_->lineCells_.size(); ++i) {
      const int top = (static_cast<int>(i) + 2) * h;
      if (top > dirty.bottom()) break;
      if (top + h <= dirty.top()) continue;
      DrawCells(painter, view_->lineCells_[i], top, dirty);
      painter.drawLine(0, top + h - 1, width() - 1, top + h - 1);
    }
  }

  void PaintMarks(QPainter& painter, const QRect& dirty) const {
    const BreakModel* breaks = view_->breaks_;
    if (breaks == nullptr) return;
    painter.setPen(QPen(kMarkColour, 1));
    painter.setBrush(kMarkColour);
    for (int position = 1; position <= kMaxBreakPosition; ++position) {
      if (!breaks->IsSet(position)) continue;
      const int x = (position - 1) * view_->charWidth_ + 1;
      if (x - 3 > dirty.right()) break;
      if (x + 3 < dirty.left()) continue;
      const QPoint corners[] = {QPoint(x - 3, 0), QPoint(x, 3), QPoint(x + 3, 0)};
      painter.drawPolygon(corners, 3);
      painter.drawLine(x, 4, x, height() - 1);
    }
  }

  RulerView* view_;
};

RulerView::RulerView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlImg"));
  font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font_.setStyleHint(QFont::TypeWriter);
  // A desktop whose "fixed" font is proportional would leave gaps in every cell of the ruler.
  if (!QFontInfo(font_).fixedPitch()) font_.setFamily(QStringLiteral("monospace"));
  const QFontMetrics metrics(font_);
  charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
  // The full line height, not the cap height, so that descenders stay inside their row.
  rowHeight_ = metrics.height() + 1;

  clipArea_ = new QWidget(this);
  image_ = new RulerImage(this, clipArea_);
  image_->setObjectName(QStringLiteral("imgGrid"));
  hScroll_ = new QScrollBar(Qt::Horizontal, this);
  hScroll_->setObjectName(QStringLiteral("hScroll"));
  vScroll_ = new QScrollBar(Qt::Vertical, this);
  vScroll_->setObjectName(QStringLiteral("vScroll"));
  const auto follow = [this] { image_->move(-hScroll_->value(), -vScroll_->value()); };
  connect(hScroll_, &QScrollBar::valueChanged, this, follow);
  connect(vScroll_, &QScrollBar::valueChanged, this, follow);
  LayoutChildren();
}

QSize RulerView::ImageSize() const {
  if (!hasScan_) return clipArea_->size();
  const long long width = std::min<long long>((lineLength_ + 5LL) * charWidth_, kMaxImageWidth);
  const long long height =
      std::min<long long>((countedLines_ + 3LL) * rowHeight_, QWIDGETSIZE_MAX);
  return QSize(static_cast<int>(width), static_cast<int>(height));
}

void RulerView::ShowScan(const RulerScan& scan, int lineLength, bool headerBand) {
  hasScan_ = true;
  headerBand_ = headerBand;
  lineLength_ = std::max(lineLength, 0);
  countedLines_ = std::max(scan.countedLines, 0);
  // Cells past the widest image can never be seen.
  const int maxCells = kMaxImageWidth / charWidth_ + 1;
  digitCells_ = RulerCells(RulerDigits(std::min(lineLength_, maxCells)), maxCells);
  titleCells_ = RulerCells(scan.title, maxCells, scan.unit, scan.invalidShownAsReplacement);
  lineCells_.clear();
  lineCells_.reserve(scan.lines.size());
  for (const std::string& line : scan.lines) lineCells_.push_back(RulerCells(line, maxCells, scan.unit, scan.invalidShownAsReplacement));
  image_->resize(ImageSize());
  UpdateScrollBars(true);
  image_->update();
}

void RulerView::RepaintBreaks() { image_->update(); }

void RulerView::SetBreaks(const BreakModel* breaks) {
  breaks_ = breaks;
  image_->update();
}

void RulerView::Clear() {
  hasScan_ = false;
  digitCells_.clear();
  titleCells_.clear();
  lineCells_.clear();
  image_->resize(ImageSize());
  UpdateScrollBars(true);
  image_->update();
}

void RulerView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutChildren();
}

void RulerView::LayoutChildren() {
  const int barHeight = hScroll_->sizeHint().height();
  const int barWidth = vScroll_->sizeHint().width();
  const int areaWidth = std::max(0, width() - barWidth);
  const int areaHeight = std::max(0, height() - barHeight);
  clipArea_->setGeometry(0, 0, areaWidth, areaHeight);
  hScroll_->setGeometry(0, areaHeight, width(), barHeight);
  vScroll_->setGeometry(areaWidth, 0, barWidth, areaHeight);
  image_->resize(ImageSize());
  UpdateScrollBars(false);
}

void RulerView::UpdateScrollBars(bool toOrigin) {
  const QSize image = image_->size();
  const QSize area = clipArea_->size();
  const auto configure = [&](QScrollBar* bar, int imageExtent, int areaExtent, int smallStep) {
    if (areaExtent >= imageExtent) {
      bar->setRange(0, 0);
      bar->setEnabled(false);
      return;
    }
    const int range = imageExtent - areaExtent;
    bar->setRange(0, range);
    if (toOrigin) bar->setValue(0);
    bar->setPageStep(std::max(range / 100, charWidth_));
    bar->setSingleStep(smallStep);
    bar->setEnabled(true);
  };
  configure(vScroll_, image.height(), area.height(), 1);
  configure(hScroll_, image.width(), area.width(), charWidth_);
}

}  // namespace quorlin
