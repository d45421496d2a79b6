#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <algorithm>
#include <climits>

#include "app/display_text.h"
#include "app/field_list_model.h"
#include "app/main_window.h"
#include "app/ruler_view.h"
#include "text/fixed_ruler.h"
#include "text/integer_text.h"

namespace quorlin {

namespace {

// A line length as the window holds it; a typed number beyond int is kept at the largest int.
int LengthFrom(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

}  // namespace

void TfrmQuorlin::SetFixedViewMode() {
  ShowViewControls(true);
  pnlImg->SetBreaks(&breaks_);
  pnlImg->Clear();
  if (!txtInputFile->text().isEmpty()) {
    lineLength_ = SecondLineLength(InputBoxPath());
    txtLength->setText(QString::number(lineLength_));
  }
  txtFieldCount->setText("1");
  breaks_.fieldCount = 1;
  lineLength_ = LengthFrom(ToInteger(txtLength->text().toStdString()));
  pnlImg->setGeometry(grdData->geometry());
  pnlImg->raise();
  breaks_.ClearUpTo(lineLength_);
  MarkLayoutChanged();
}

void TfrmQuorlin::DrawRuler(const std::string& path) {
  breaks_.ClearAll();
  const long long rows = ToInteger(txtRows->text().toStdString());
  const long long start = ToInteger(txtStart->text().toStdString());
  // A saved layout brings its own record length; otherwise the view's guess from line 2 stands.
  if (chkDefined->isChecked()) lineLength_ = LengthFrom(ToInteger(txtLength->text().toStdString()));
  const RulerScan scan = ScanRuler(path, start, rows);
  if (scan.longest + 1 > lineLength_) {
    lineLength_ = LengthFrom(scan.longest + 1);
    txtLength->setText(QString::number(lineLength_));
  }
  charWidth_ = pnlImg->CharWidth();
  pnlImg->SetBreaks(&breaks_);
  pnlImg->ShowScan(scan, lineLength_, chkHeaderRow->isChecked());
}

void TfrmQuorlin::ToggleBreak(int position) {
  if (!breaks_.Toggle(position)) return;
  txtFieldCount->setText(QString::number(breaks_.fieldCount));
  RebuildBreakList();
  RepaintBreaks();
  MarkLayoutChanged();
}

void TfrmQuorlin::RebuildBreakList() {
  lstLines->clear();
  for (const int position : breaks_.ListedBreaks(lineLength_)) {
    lstLines->addItem(BreakListEntry(position));
  }
}

// Field i ends where break i of the list begins field i + 1, so k fields stand between k - 1
// breaks; the break that separated the deleted field from the one that took its width goes.
void TfrmQuorlin::OnFixedFieldDeleted(int index) {
  std::vector<int> listed;
  for (int row = 0; row < lstLines->count(); ++row) {
    const QString entry = lstLines->item(row)->text();
    listed.push_back(entry.mid(entry.indexOf(' ') + 1).toInt());
  }
  RemoveFieldBreak(breaks_, listed, static_cast<std::size_t>(index));
  breaks_.fieldCount -= 1;
  txtFieldCount->setText(QString::number(breaks_.fieldCount));
  RebuildBreakList();
  RepaintBreaks();
}

void TfrmQuorlin::RepaintBreaks() { pnlImg->RepaintBreaks(); }

}  // namespace quorlin
