// A main window on a scratch program folder, driven through its controls.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "app/main_window.h"
#include "app/scripted_dialogs.h"
#include "support/test_files.h"

namespace quorlin::testing {

// A fixed-length file with a comma-separated title line: CODE in 10 bytes, QTY in 6, NAME.
inline constexpr char kStockFile[] =
    "CODE,QTY,NAME\r\n"
    "A100      12    Bolts  \r\n"
    "B200      7     Nuts   \r\n";

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;

  AppEnvironment Environment(const std::string& startPath = "");
  // Creates and shows the window; the script must hold the boxes start-up will show.
  void Start(const std::string& startPath = "");
  void WriteSettings(const std::string& text);
  // A data file in the data folder.
  std::string DataFile(const std::string& name, const std::string& bytes);

  template <typename W>
  W* Find(const char* name) {
    W* widget = window->findChild<W*>(name);
    if (widget == nullptr) ADD_FAILURE() << "no " << name;
    return widget;
  }
  QAction* Item(const char* name) { return Find<QAction>(name); }

  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
  void DoubleClickFile(const QString& name);
  void ClickField(int row);
  // Types `text` into a box and leaves it.
  void Enter(const char* box, const QString& text);
  void Leave(QWidget* widget);
  // Chooses `name` in the file list and answers the reload question with Yes.
  void OpenFromList(const QString& name);

  // Turns the view to fixed length, answering the reload question with Yes.
  void SwitchToFixedLength();
  // A left click on the ruler in front of the character at `position`.
  void MarkBreak(int position);

  QString Cell(int row, int column);
  int GridRows();
  int GridColumns();
  QString FieldCell(int row, int column);
  int FieldRows();

  TempDir program;
  TempDir home;
  TempDir data;
  ScriptedDialogs dialogs;
  RecordedSounds sounds;
  RecordedLaunches launches;
  RecordedPrinter printer;
  std::unique_ptr<TfrmQuorlin> window;
};

}  // namespace quorlin::testing
