// "&Export As..": the checks before the dialog, and the dialog it opens.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include "app/export_dialog.h"
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

class ExportStartTest : public WindowTest {
 protected:
  // Opens p.txt from the schema list with the saved entries.
  void OpenSaved(const std::string& entries) {
    DataFile("p.txt", "Who;Born\r\nAnn;1/2/2000\r\n");
    WriteBytes(data.File("Schema.INI"),
               "[p.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\n" + entries);
    Start(data.Path());
    Find<QCheckBox>("chkDefined")->setChecked(true);
    auto* list = Find<QListWidget>("lstSchema");
    list->setCurrentItem(list->item(0));
    emit list->itemDoubleClicked(list->item(0));
  }

  // Runs the command; a dialog it opens is looked at by `look` and closed.
  void RunExport(const std::function<void(TfrmExportData&)>& look = {}) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
      if (auto* dialog = qobject_cast<TfrmExportData*>(QApplication::activeModalWidget())) {
        opened = true;
        if (look) look(*dialog);
        dialog->reject();
      }
    });
    Item("mnuExport")->trigger();
    EXPECT_EQ(static_cast<bool>(look), opened);
  }
};

TEST_F(ExportStartTest, AnUndefinedStructureStopsWithItsMessage) {
  Start();
  dialogs.Expect(BoxKind::Inform);
  RunExport();
  EXPECT_EQ(std::vector<QString>{"Structure has not been defined\nPlease Press [Refresh] Button\n"
                                 "followed by [Guess Field Types] Button.\nRefine the fields if "
                                 "necessary\nThen press the [Save To Schema] button\nThen try again"},
            dialogs.Texts());
}

TEST_F(ExportStartTest, AnUnsetWidthStopsWithItsMessage) {
  OpenSaved("Col1=Who Char\r\nCol2=Born Date\r\n");
  dialogs.Forget();
  dialogs.Expect(BoxKind::Inform);
  RunExport();
  EXPECT_EQ(std::vector<QString>{"Width for Who has not been set"}, dialogs.Texts());
}

TEST_F(ExportStartTest, AChangedLayoutIsOfferedForSavingThenTheDialogMirrorsTheWindow) {
  OpenSaved("Col1=Who Char WIDTH 9\r\nCol2=Born Date\r\n");
  window->MarkLayoutChanged();
  dialogs.Forget();
  dialogs.Expect(BoxKind::Confirm, false);
  RunExport([](TfrmExportData& dialog) {
    EXPECT_EQ("p.txt", dialog.findChild<QLabel*>("lblFileToExport")->text());
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("optCustom")->isChecked());
    EXPECT_EQ("p.CSV", dialog.findChild<QLineEdit*>("txtExportFile")->text());
  });
  EXPECT_EQ(std::vector<QString>{"Save Changes?"}, dialogs.Texts());
  EXPECT_FALSE(window->LayoutChanged());
}

}  // namespace
}  // namespace quorlin::testing
