// The main window among the desktop's other programs: files dropped on it, folders that change
// under it, its headings, its colours under a dark palette.
#include <QApplication>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include "app/export_dialog.h"
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

class DesktopTest : public WindowTest {
 protected:
  // Drops `path` on the window as the file manager does.
  void Drop(const std::string& path) {
    QMimeData dragged;
    dragged.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    const QPoint middle = window->rect().center();
    QDragEnterEvent entering(middle, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &entering);
    ASSERT_TRUE(entering.isAccepted());
    QDropEvent dropping(middle, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &dropping);
  }

  QString TreeFolder() {
    auto* tree = Find<QTreeView>("dirList");
    return static_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex());
  }

  QStringList ListedFiles() {
    QStringList names;
    auto* files = Find<QListWidget>("lstFiles");
    for (int row = 0; row < files->count(); ++row) names << files->item(row)->text();
    return names;
  }

  QString Heading(int column) {
    return Find<QTableView>("grdData")->model()->headerData(column, Qt::Horizontal).toString();
  }
};

std::string Lines(int count) {
  std::string text = "a,b\r\n";
  for (int line = 1; line <= count; ++line) text += std::to_string(line) + ",x\r\n";
  return text;
}

TEST_F(DesktopTest, TheHeadingRowsStayAboveTheDataWhileItScrolls) {
  DataFile("long.csv", Lines(25));
  Start(data.Path());
  OpenFromList("long.csv");
  auto* grid = Find<QTableView>("grdData");
  EXPECT_EQ("1\nField1", Heading(0));
  EXPECT_EQ("2\nField2", Heading(1));
  EXPECT_TRUE(grid->horizontalHeader()->isVisible());
  // The model's heading rows are not shown a second time among the data.
  EXPECT_TRUE(grid->isRowHidden(0));
  EXPECT_TRUE(grid->isRowHidden(1));
  EXPECT_EQ(2, grid->rowAt(0));
  grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
  QApplication::processEvents();
  EXPECT_GT(grid->rowAt(0), 2);
  EXPECT_TRUE(grid->horizontalHeader()->isVisible());
  EXPECT_LT(grid->horizontalHeader()->geometry().bottom(), grid->viewport()->geometry().top());
}

TEST_F(DesktopTest, CommaAfterFixedLengthShowsNoHeadingsOfAnEarlierFile) {
  DataFile("people.csv", "Ann,7,x,y\r\nBo,8,y,z\r\n");
  DataFile("stock.dat", kStockFile);
  Start(data.Path());
  OpenFromList("people.csv");
  ASSERT_EQ(4, GridColumns());
  SwitchToFixedLength();
  OpenFromList("stock.dat");
  Find<QRadioButton>("optComma")->click();
  EXPECT_EQ(1, GridColumns());
  EXPECT_EQ("", Cell(1, 0));
  EXPECT_EQ("\n", Heading(0));
}

TEST_F(DesktopTest, AFileDroppedFromTheFileManagerOpensAsIfPickedInTheTree) {
  DataFile("orders.csv", "No,Who\r\n1,Ann\r\n");
  Start();
  Drop(data.File("orders.csv"));
  EXPECT_EQ(QString::fromStdString(data.Path()).chopped(1), TreeFolder());
  ASSERT_NE(nullptr, Find<QListWidget>("lstFiles")->currentItem());
  EXPECT_EQ("orders.csv", Find<QListWidget>("lstFiles")->currentItem()->text());
  EXPECT_TRUE(Find<QLineEdit>("txtInputFile")->text().endsWith("orders.csv"));
  EXPECT_EQ("Ann", Cell(3, 1));
  EXPECT_EQ(data.File("orders.csv"), window->InputPath());
}

TEST_F(DesktopTest, ADroppedFolderOpensInTheTreeAndUnsavedChangesAreOfferedFirst) {
  DataFile("a.csv", "x\r\n");
  Start();
  window->MarkLayoutChanged();
  dialogs.Expect(BoxKind::Confirm, false);
  Drop(data.Path());
  EXPECT_EQ(QString::fromStdString(data.Path()).chopped(1), TreeFolder());
  EXPECT_EQ(QStringList{"a.csv"}, ListedFiles());
  EXPECT_TRUE(window->InputPath().empty());
}

TEST_F(DesktopTest, FilesOtherProgramsWriteIntoTheShownFolderAppearInTheList) {
  DataFile("a.csv", "x\r\n");
  Start(data.Path());
  auto* files = Find<QListWidget>("lstFiles");
  files->setCurrentItem(files->item(0));
  DataFile("b.csv", "y\r\n");
  QTRY_COMPARE(ListedFiles(), (QStringList{"a.csv", "b.csv"}));
  // The file the user marked stays marked.
  ASSERT_NE(nullptr, files->currentItem());
  EXPECT_EQ("a.csv", files->currentItem()->text());
  std::filesystem::remove(data.File("a.csv"));
  QTRY_COMPARE(ListedFiles(), QStringList{"b.csv"});
}

TEST_F(DesktopTest, AnExportIntoTheShownFolderIsListedWhenTheDialogCloses) {
  DataFile("p.txt", "Who;Born\r\nAnn;1/2/2000\r\n");
  WriteBytes(data.File("Schema.INI"),
             "[p.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nCol1=Who Char WIDTH 9\r\nCol2=Born Date\r\n");
  Start(data.Path());
  Find<QCheckBox>("chkDefined")->setChecked(true);
  auto* sections = Find<QListWidget>("lstSchema");
  sections->setCurrentItem(sections->item(0));
  emit sections->itemDoubleClicked(sections->item(0));
  // Only the refresh after the export can list the file: nothing else looks at the folder.
  Find<QObject>("folderWatcher")->blockSignals(true);
  dialogs.Expect(BoxKind::Inform);
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<TfrmExportData*>(QApplication::activeModalWidget())) {
      dialog->findChild<QLineEdit*>("txtExportFile")->setText("p.CSV");
      dialog->findChild<QPushButton*>("cmdExport")->click();
      dialog->reject();
    }
  });
  Item("mnuExport")->trigger();
  EXPECT_TRUE(ListedFiles().contains("p.CSV")) << ListedFiles().join(",").toStdString();
}

// Contrast by the rule of the web's accessibility guidelines; 4.5 is what they ask of text.
double Contrast(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& colour) {
    const auto channel = [](double value) {
      return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
  };
  const double lighter = std::max(luminance(a), luminance(b));
  const double darker = std::min(luminance(a), luminance(b));
  return (lighter + 0.05) / (darker + 0.05);
}

class DarkPaletteTest : public DesktopTest {
 protected:
  void SetUp() override {
    light_ = QApplication::palette();
    QPalette dark = light_;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
  }
  void TearDown() override {
    DesktopTest::TearDown();
    QApplication::setPalette(light_);
  }
  QPalette light_;
};

TEST_F(DarkPaletteTest, TheWindowFollowsTheDesktopsPaletteAndItsYellowControlsStayReadable) {
  Start();
  EXPECT_EQ(QColor(30, 30, 30), Find<QListWidget>("lstFiles")->palette().color(QPalette::Base));
  for (const char* name : {"lblFieldCount", "lblLength", "optFixed"}) {
    const QWidget* control = Find<QWidget>(name);
    const QPalette palette = control->palette();
    EXPECT_TRUE(control->autoFillBackground()) << name;
    EXPECT_EQ(QColor(Qt::yellow), palette.color(control->backgroundRole())) << name;
    EXPECT_GE(Contrast(palette.color(control->backgroundRole()), palette.color(control->foregroundRole())), 4.5)
        << name;
  }
  for (const char* name : {"txtFieldCount", "txtLength", "lstLines", "txtChar"}) {
    const QPalette palette = Find<QWidget>(name)->palette();
    EXPECT_GE(Contrast(palette.color(QPalette::Base), palette.color(QPalette::Text)), 4.5) << name;
  }
}

}  // namespace
}  // namespace quorlin::testing
