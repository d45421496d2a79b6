// "Text DSN": the check that ODBC and the text driver are there, then the DSN dialog.
#include <QApplication>
#include <memory>

#include "app/main_window.h"
#include "app/text_dsn_dialog.h"
#include "app/user_dialogs.h"
#include "odbc/data_source_files.h"
#include "odbc/driver_registration.h"

namespace quorlin {

void TfrmQuorlin::mnuTestDSNClick() {
  const OdbcAvailability availability = CheckTextDriverAvailability();
  if (availability != OdbcAvailability::Ready) {
    env_.dialogs->Inform(QString::fromStdString(AvailabilityMessage(availability)));
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto dialog = std::make_unique<TfrmTestTextDSN>(
      file_.Folder(), TextDsnDialogSettings{SoundsEnabled(), env_.homeFolder, ChooseDsnScope()}, *env_.dialogs,
      *env_.sounds, *env_.launcher, this);
  QApplication::restoreOverrideCursor();
  dialog->exec();
}

}  // namespace quorlin
