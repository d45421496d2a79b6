#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

#include "app/field_list_model.h"
#include "app/main_window.h"
#include "app/ruler_view.h"
#include "text/fixed_ruler.h"
#include "text/integer_text.h"

namespace quorlin {

void TfrmQuorlin::SetFixedViewMode() {
  lstLines->clear();
  fieldModel_->Clear();
  grdData->hide();
  for (QWidget* control : {static_cast<QWidget*>(pnlImg), static_cast<QWidget*>(lblFieldCount),
                           static_cast<QWidget*>(txtFieldCount), static_cast<QWidget*>(lblLength),
                           static_cast<QWidget*>(txtLength), static_cast<QWidget*>(lstLines)}) {
    control->show();
  }
  mnuFixedLength->setVisible(true);
  if (!txtInputFile->text().isEmpty()) {
    lineLength_ = SecondLineLength(InputBoxPath());
    txtLength->setText(QString::number(lineLength_));
  }
  txtFieldCount->setText("1");
  breaks_.fieldCount = 1;
  lineLength_ = static_cast<int>(ToInteger(txtLength->text().toStdString()));
  pnlImg->raise();
  breaks_.ClearUpTo(lineLength_);
  MarkLayoutChanged();
}

// The ruler picture and its break marks are drawn by the ruler view.
void TfrmQuorlin::DrawRuler(const std::string&) {}

// Removes the break that separated the deleted field from the one that took its width.
void TfrmQuorlin::OnFixedFieldDeleted(int) {}

}  // namespace quorlin
