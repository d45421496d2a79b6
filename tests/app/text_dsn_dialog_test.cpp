#include "app/text_dsn_dialog.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app/help_topics.h"
#include "app/scripted_dialogs.h"
#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

using Texts = std::vector<QString>;
using Tones = std::vector<Tone>;

constexpr Tone kSuccess{600, 600};
constexpr Tone kFailure{400, 600};

class TextDsnDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(data.File("orders.csv"), "OrderNo,Customer\r\n1,Smith\r\n2,Jones\r\n");
    WriteBytes(data.File("Schema.INI"),
               "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=OrderNo Integer\r\n"
               "Col2=Customer Char WIDTH 20\r\n[stock.dat]\r\nFormat=FixedLength\r\nCol1=Code Char WIDTH 4\r\n");
  }

  void TearDown() override {
    dialog.reset();
    EXPECT_EQ(0u, dialogs.Pending()) << "scripted boxes that never came";
  }

  void Open(const std::string& folder) {
    dialog = std::make_unique<TfrmTestTextDSN>(folder, TextDsnDialogSettings{true, home.Path(), DsnScope::System},
                                               dialogs, sounds, launches);
    dialog->show();
    if (!folder.empty()) {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
  }

  template <typename W>
  W* Find(const char* name) {
    W* widget = dialog->findChild<W*>(name);
    if (widget == nullptr) ADD_FAILURE() << "no " << name;
    return widget;
  }

  // Clicks the button with every box it is to show scripted as an information box.
  Texts Click(const char* button, int boxes) {
    dialogs.Forget();
    for (int k = 0; k < boxes; ++k) dialogs.Expect(BoxKind::Inform);
    sounds.tones.clear();
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    return dialogs.Texts();
  }

  QStringList Tables() {
    QStringList names;
    for (int k = 0; k < Find<QListWidget>("lstSchema")->count(); ++k) {
      names << Find<QListWidget>("lstSchema")->item(k)->text();
    }
    return names;
  }

  QString Cell(int row, int column) {
    QAbstractItemModel* model = Find<QTableView>("DBGrid1")->model();
    return model->data(model->index(row, column)).toString();
  }

  OdbcSandbox sandbox;
  TempDir data;
  TempDir home;
  ScriptedDialogs dialogs;
  RecordedSounds sounds;
  RecordedLaunches launches;
  std::unique_ptr<TfrmTestTextDSN> dialog;
};

TEST_F(TextDsnDialog, AddCreatesTheSystemDataSourceAndListsTheTables) {
  Open(data.Path());
  Find<QLineEdit>("Edit1")->setText("Order Data");
  Find<QLineEdit>("Edit3")->setText("*.CSV;*.TXT");
  EXPECT_EQ(Texts{"DSN Created"}, Click("btnAdd", 1));
  EXPECT_EQ(Tones{kSuccess}, sounds.tones);
  EXPECT_EQ("Order_Data", Find<QLineEdit>("Edit1")->text());
  EXPECT_EQ("csv,txt", Find<QLineEdit>("Edit3")->text());
  EXPECT_EQ(QStringList{"orders.csv"}, Tables());
  EXPECT_TRUE(Find<QPushButton>("btnOpenTable")->isEnabled());
  EXPECT_NE(std::string::npos, sandbox.SystemDataSources().find("[Order_Data]"));
  EXPECT_NE(std::string::npos, sandbox.SystemDataSources().find("DefaultDir=" + data.Path()));
}

TEST_F(TextDsnDialog, OpenTableShowsTheRowsThroughQtsOdbcDriver) {
  Open(data.Path());
  Click("btnAdd", 1);
  EXPECT_EQ((Texts{"MyTextDSN", "Table Opened"}), Click("btnOpenTable", 2));
  EXPECT_EQ(Tones{kSuccess}, sounds.tones);
  ASSERT_EQ(2, Find<QTableView>("DBGrid1")->model()->rowCount());
  EXPECT_EQ("OrderNo", Find<QTableView>("DBGrid1")->model()->headerData(0, Qt::Horizontal).toString());
  EXPECT_EQ((QStringList{"1", "Smith", "2", "Jones"}), (QStringList{Cell(0, 0), Cell(0, 1), Cell(1, 0), Cell(1, 1)}));
  EXPECT_TRUE(launches.helpContexts.empty());
}

TEST_F(TextDsnDialog, ConfigureAndRemoveReportTheirResults) {
  Open(data.Path());
  EXPECT_EQ(Texts{"DSN Configuration Failed"}, Click("btnConfigure", 1));
  EXPECT_EQ(Tones{kFailure}, sounds.tones);
  EXPECT_EQ(Texts{"DSN Removal Failed"}, Click("btnRemove", 1));
  Click("btnAdd", 1);
  Find<QLineEdit>("Edit3")->setText("*.DAT");
  EXPECT_EQ(Texts{"DSN Reconfigured"}, Click("btnConfigure", 1));
  EXPECT_EQ(Tones{kSuccess}, sounds.tones);
  EXPECT_EQ("dat", Find<QLineEdit>("Edit3")->text());
  EXPECT_EQ(QStringList{"stock.dat"}, Tables());
  EXPECT_NE(std::string::npos, sandbox.SystemDataSources().find("Extensions=dat"));
  EXPECT_EQ(Texts{"DSN Removed"}, Click("btnRemove", 1));
  EXPECT_EQ(std::string::npos, sandbox.SystemDataSources().find("[MyTextDSN]"));
}

TEST_F(TextDsnDialog, AnotherDriversDataSourceIsNeverReplaced) {
  sandbox.AddForeignDataSource("MyTextDSN");
  const std::string before = sandbox.SystemDataSources();
  Open(data.Path());
  EXPECT_EQ(Texts{"DSN Creation Failed"}, Click("btnAdd", 1));
  EXPECT_EQ(Tones{kFailure}, sounds.tones);
  EXPECT_FALSE(Find<QPushButton>("btnOpenTable")->isEnabled());
  EXPECT_EQ(Texts{"DSN Removal Failed"}, Click("btnRemove", 1));
  EXPECT_EQ(before, sandbox.SystemDataSources());
}

TEST_F(TextDsnDialog, ABlankNameShowsTheComponentsErrorOnceAndNoFailureAfterIt) {
  Open(data.Path());
  Find<QLineEdit>("Edit1")->clear();
  dialogs.Expect(BoxKind::Error);
  QTest::mouseClick(Find<QPushButton>("btnAdd"), Qt::LeftButton);
  EXPECT_EQ(Texts{"Property 'DSNNameOrAlias' must not be blank"}, dialogs.Texts());
  EXPECT_EQ(Tones{kFailure}, sounds.tones);
  EXPECT_FALSE(Find<QPushButton>("btnOpenTable")->isEnabled());
}

TEST_F(TextDsnDialog, GridRowsAreAsHighAsTheDesktopsOwnRows) {
  Open(data.Path());
  auto* grid = Find<QTableView>("DBGrid1");
  const int rowHeight = grid->verticalHeader()->defaultSectionSize();
  EXPECT_GE(rowHeight, grid->fontMetrics().height());
  EXPECT_LT(rowHeight, 30);
}

TEST_F(TextDsnDialog, ANameThatWouldBeASectionOfItsOwnIsRefusedBeforeAnythingIsWritten) {
  Open(data.Path());
  Find<QLineEdit>("Edit1")->setText("Orders]");
  dialogs.Expect(BoxKind::Error);
  QTest::mouseClick(Find<QPushButton>("btnAdd"), Qt::LeftButton);
  EXPECT_EQ(Texts{"The data source name must not hold [, ] or ="}, dialogs.Texts());
  EXPECT_EQ("", sandbox.SystemDataSources());
}

TEST_F(TextDsnDialog, OpenTableWithoutAConnectionOpensTheOdbcErrorsHelp) {
  Open(data.Path());
  Click("btnAdd", 1);
  dialog.reset();
  Open(data.Path());
  EXPECT_EQ(Texts{"DSN Reconfigured"}, Click("btnConfigure", 1));
  EXPECT_EQ((Texts{"", "OLE Error - Opening Help File.."}), Click("btnOpenTable", 2));
  EXPECT_EQ(std::vector<int>{kHelpOdbcErrors}, launches.helpContexts);
  EXPECT_EQ(0, Find<QTableView>("DBGrid1")->model()->rowCount());
}

TEST_F(TextDsnDialog, WithoutAFolderItSaysSoAndCloses) {
  dialogs.Expect(BoxKind::Inform);
  Open("");
  QTRY_VERIFY(!dialog->isVisible());
  EXPECT_EQ(Texts{"No Folder Selected.  Cannot Continue"}, dialogs.Texts());
}

}  // namespace
}  // namespace quorlin::testing
