// What every window does alike: one owner per access key, where windows open, message boxes
// and file dialogs that show their texts whole.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <map>

#include "app/download_progress_window.h"
#include "app/export_dialog.h"
#include "app/help_topics.h"
#include "app/help_window.h"
#include "app/launcher.h"
#include "app/text_dsn_dialog.h"
#include "app/update_form.h"
#include "app/user_dialogs.h"
#include "app/window_fixture.h"
#include "extras/http_download.h"

namespace quorlin::testing {
namespace {

// The letter after a single "&", upper-cased; none when the text has no access key.
QChar AccessKey(const QString& text) {
  for (int at = 0; at + 1 < text.size(); ++at) {
    if (text[at] != '&') continue;
    if (text[at + 1] == '&') {
      ++at;
      continue;
    }
    return text[at + 1].toUpper();
  }
  return {};
}

// Texts that share an access key within one scope, as "D: &Delete | &Delete From Schema".
class KeyOwners {
 public:
  void Add(const QString& text) {
    const QChar key = AccessKey(text);
    if (!key.isNull()) owners_[key] << text;
  }
  QStringList Shared() const {
    QStringList shared;
    for (const auto& [key, texts] : owners_) {
      if (texts.size() > 1) shared << QString(key) + ": " + texts.join(" | ");
    }
    return shared;
  }

 private:
  std::map<QChar, QStringList> owners_;
};

// Every letter that is pressed with Alt in the window (its controls and its menu bar) and in
// each of its menus.
QStringList SharedAccessKeys(const QWidget& window) {
  QStringList shared;
  KeyOwners windowKeys;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->window() != &window) continue;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) windowKeys.Add(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget); label != nullptr && label->buddy() != nullptr) {
      windowKeys.Add(label->text());
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) windowKeys.Add(group->title());
  }
  for (const QMenuBar* bar : window.findChildren<QMenuBar*>()) {
    for (const QAction* item : bar->actions()) windowKeys.Add(item->text());
  }
  shared << windowKeys.Shared();
  for (const QMenu* menu : window.findChildren<QMenu*>()) {
    KeyOwners menuKeys;
    for (const QAction* item : menu->actions()) menuKeys.Add(item->text());
    for (const QString& clash : menuKeys.Shared()) shared << menu->objectName() + " " + clash;
  }
  return shared;
}

class EveryWindowTest : public WindowTest {};

TEST_F(EveryWindowTest, NoTwoControlsOrMenuItemsShareAnAccessKey) {
  Start();
  EXPECT_EQ(QStringList{}, SharedAccessKeys(*window)) << "main window";

  ExportDialogInputs inputs;
  inputs.settingsPath = program.File("Quorlin.INI");
  TfrmExportData exportDialog(inputs, dialogs, sounds);
  EXPECT_EQ(QStringList{}, SharedAccessKeys(exportDialog)) << "export dialog";

  TfrmTestTextDSN dsnDialog(data.Path(), TextDsnDialogSettings{false, home.Path(), DsnScope::User}, dialogs, sounds,
                            launches);
  EXPECT_EQ(QStringList{}, SharedAccessKeys(dsnDialog)) << "DSN dialog";

  UpdateFormSetup setup;
  setup.settingsPath = program.File("Settings.ini");
  setup.dialogs = &dialogs;
  setup.launcher = &launches;
  TUpdateForm updateForm(setup);
  EXPECT_EQ(QStringList{}, SharedAccessKeys(updateForm)) << "update dialog";

  TransferMonitor monitor;
  DownloadProgressWindow progress("v.ini", "http://localhost/v.ini", "/tmp", monitor, nullptr);
  EXPECT_EQ(QStringList{}, SharedAccessKeys(progress)) << "download window";

  HelpWindow help(QUORLIN_TEST_DATA "/../help/");
  EXPECT_EQ(QStringList{}, SharedAccessKeys(help)) << "help window";
}

TEST(AccessKeys, TheWalkFindsASharedLetter) {
  QWidget window;
  new QPushButton("&Delete", &window);
  new QPushButton("&Delete From Schema", &window);
  new QPushButton("Save && &Close", &window);
  EXPECT_EQ(QStringList{"D: &Delete | &Delete From Schema"}, SharedAccessKeys(window));
}

// How far the centres of two rectangles lie apart, in pixels along either axis.
int CentreDistance(const QRect& a, const QRect& b) {
  return std::max(std::abs(a.center().x() - b.center().x()), std::abs(a.center().y() - b.center().y()));
}

class PlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner.setGeometry(QRect(QPoint(0, 0), QSize(500, 400)).translated(screenArea().center() - QPoint(250, 200)));
    owner.show();
    inputs.settingsPath = program.File("Quorlin.INI");
  }
  static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

  TempDir program;
  QWidget owner;
  ExportDialogInputs inputs;
  ScriptedDialogs dialogs;
  RecordedSounds sounds;
};

TEST_F(PlacementTest, TheExportDialogFirstOpensCentredOverTheMainWindow) {
  TfrmExportData dialog(inputs, dialogs, sounds, &owner);
  EXPECT_LE(CentreDistance(QRect(dialog.pos(), dialog.size()), owner.frameGeometry()), 1);
  EXPECT_TRUE(screenArea().contains(QRect(dialog.pos(), dialog.size())));
}

TEST_F(PlacementTest, TheExportDialogReopensWhereItWasAndComesBackFromOffTheScreens) {
  WriteBytes(program.File("Quorlin.INI"),
             "[GUI]\r\nfrmExportDataLeft=12\r\nfrmExportDataTop=14\r\nfrmExportDataWidth=600\r\n"
             "frmExportDataHeight=420\r\n");
  {
    TfrmExportData dialog(inputs, dialogs, sounds, &owner);
    EXPECT_EQ(QPoint(12, 14), dialog.pos());
    EXPECT_EQ(600, dialog.width());
  }
  WriteBytes(program.File("Quorlin.INI"), "[GUI]\r\nfrmExportDataLeft=-4000\r\nfrmExportDataTop=9000\r\n");
  TfrmExportData dialog(inputs, dialogs, sounds, &owner);
  EXPECT_TRUE(screenArea().contains(dialog.pos()));
}

TEST_F(PlacementTest, TheHelpWindowOpensCentredOverTheWindowThatAskedAndWithinTheScreen) {
  // Low on the screen: centred over it, the help window would reach below the screen.
  owner.setGeometry(screenArea().center().x() - 150, screenArea().bottom() - 250, 300, 200);
  owner.activateWindow();
  QApplication::setActiveWindow(&owner);
  DesktopLauncher launcher(QUORLIN_TEST_DATA "/../help/");
  launcher.OpenHelp(kHelpContents);
  HelpWindow* help = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<HelpWindow*>(top); found != nullptr && found->isVisible()) help = found;
  }
  ASSERT_NE(nullptr, help);
  const QRect placed(help->pos(), help->size());
  EXPECT_TRUE(screenArea().contains(placed)) << placed.y() << "+" << placed.height();
  EXPECT_LE(std::abs(placed.center().x() - owner.frameGeometry().center().x()), 1);
}

TEST(MessageBoxes, AreWideEnoughForTheirWholeCaption) {
  for (const QString& caption : {QString("Quorlin"), QString("OUTPUT FILE EXISTS"), QString("RELOAD DATA FILE?")}) {
    const auto box = NewMessageBox(nullptr, QMessageBox::Question, caption, "Yes?", QMessageBox::Yes | QMessageBox::No,
                                   QMessageBox::No);
    box->show();
    QFont bold = box->font();
    bold.setBold(true);
    EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(caption) + 100) << caption.toStdString();
  }
}

TEST(FileDialogs, ShowTheirSizeAndTypeColumnsWholeWhateverWidthsWereRestored) {
  TempDir folder;
  WriteBytes(folder.File("a rather long file name of the folder.csv"), std::string(2'000'000, 'x'));
  WriteBytes(folder.File("b.txt"), "x");
  QFileDialog dialog(nullptr, "Select your Input File", QString::fromStdString(folder.Path()));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  auto* files = dialog.findChild<QTreeView*>("treeView");
  ASSERT_NE(nullptr, files);
  // The dialog restores the columns as the desktop's settings last kept them, which another
  // program may have left fixed and narrow.
  QHeaderView* header = files->header();
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::Interactive);
    header->resizeSection(column, 20);
  }
  PrepareFileDialog(dialog);
  dialog.show();
  QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 2);
  QApplication::processEvents();
  for (int column = 1; column < header->count(); ++column) {
    if (header->isSectionHidden(column)) continue;
    EXPECT_GE(header->sectionSize(column), static_cast<QAbstractItemView*>(files)->sizeHintForColumn(column)) << column;
    EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
  }
}

}  // namespace
}  // namespace quorlin::testing
