// The settings file across a shut-down and the next start-up in the same program folder.
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

// Whether the last layout comes back through the folder's Schema.INI or the LastFile section.
class SettingsRoundTripTest : public WindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool ThroughSchema() const { return GetParam(); }

  QStringList Column(int column) {
    QStringList cells;
    for (int row = 0; row < FieldRows(); ++row) cells << FieldCell(row, column);
    return cells;
  }
};

TEST_P(SettingsRoundTripTest, WhatShutDownKeepsStartUpRestores) {
  const std::string stock = DataFile("stock.dat", kStockFile);
  Start(stock);
  SwitchToFixedLength();
  Find<QCheckBox>("chkHeaderRow")->click();
  MarkBreak(11);
  MarkBreak(17);
  Click("cmdGuess");
  if (ThroughSchema()) {
    dialogs.Expect(BoxKind::Inform);
    Click("cmdSave");
    Find<QCheckBox>("chkDefined")->setChecked(true);
  }
  dialogs.Expect(BoxKind::Ask, true);
  Item("mnuOpenLast")->trigger();
  dialogs.Expect(BoxKind::Ask, true);
  Item("mnuUseLastExport")->trigger();
  dialogs.ExpectFile(true, "/usr/bin/nano");
  Item("mnuSetEditor")->trigger();
  Item("mnuCountFrom0")->trigger();
  Item("mnuSounds")->trigger();
  window->setGeometry(120, 130, 900, 600);
  ASSERT_TRUE(window->close());
  window.reset();
  dialogs.Forget();

  // A fixed-length layout checks Fixed Length, whose Refresh asks to reload.
  dialogs.Expect(BoxKind::Ask, true);
  Start();
  EXPECT_EQ("RELOAD DATA FILE?", dialogs.Boxes().back().caption);
  EXPECT_TRUE(window->SoundsEnabled());
  EXPECT_EQ("/usr/bin/nano", window->EditorPath());
  EXPECT_TRUE(Item("mnuCountFrom0")->isChecked());
  EXPECT_TRUE(Item("mnuOpenLast")->isChecked());
  EXPECT_TRUE(Item("mnuUseLastExport")->isChecked());
  EXPECT_EQ(ThroughSchema(), Find<QCheckBox>("chkDefined")->isChecked());
  EXPECT_EQ(stock, window->InputPath());
  EXPECT_EQ(data.Path(), window->SelectedFolder());
  EXPECT_TRUE(Find<QRadioButton>("optFixed")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("chkHeaderRow")->isChecked());
  EXPECT_EQ((QStringList{"CODE", "QTY", "NAME"}), Column(0));
  EXPECT_EQ((QStringList{"Char", "Byte", "Char"}), Column(1));
  EXPECT_EQ((QStringList{"10", "6", "7"}), Column(2));
  EXPECT_EQ("3", Find<QLineEdit>("txtFieldCount")->text());
  EXPECT_EQ(QRect(120, 130, 900, 600), window->geometry());
  EXPECT_FALSE(window->LayoutChanged());
}

INSTANTIATE_TEST_SUITE_P(LastLayout, SettingsRoundTripTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "FromSchemaIni" : "FromLastFile"; });

}  // namespace
}  // namespace quorlin::testing
