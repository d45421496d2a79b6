// Start-up, shut-down, Browse, the file list and Refresh of the main window.
#include <QFileSystemModel>
#include <QTreeView>
#include <filesystem>
#include <QLabel>

#include "app/window_fixture.h"
#include "platform/profile_file.h"

namespace quorlin::testing {
namespace {

const char kCsv[] = "Name,City,Age\r\nAnna,Hamburg,31\r\nBob,Bremen,42\r\n";

using StartUpTest = WindowTest;

TEST_F(StartUpTest, WithoutSettingsEveryDefaultHolds) {
  window = std::make_unique<TfrmQuorlin>(Environment());
  EXPECT_EQ(QRect(100, 110, 796, 555), window->geometry());
  EXPECT_EQ(QSize(795, 555), window->minimumSize());
  window->show();

  EXPECT_EQ(QString("Define Text File Format:  Vers. ") + QUORLIN_VERSION, window->windowTitle());
  EXPECT_EQ("frmQuorlin", window->objectName());
  EXPECT_FALSE(window->SoundsEnabled());
  EXPECT_FALSE(Item("mnuSounds")->isChecked());
  EXPECT_EQ("xdg-open", window->EditorPath());
  EXPECT_FALSE(Item("mnuCountFrom0")->isChecked());
  EXPECT_TRUE(Item("mnuODBCOnly")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("chkODBCOnly")->isChecked());
  EXPECT_FALSE(Item("mnuOpenLast")->isChecked());
  EXPECT_FALSE(Item("mnuUseLastExport")->isChecked());
  EXPECT_EQ("", window->InputPath());
  EXPECT_EQ("", Find<QLineEdit>("txtInputFile")->text());
  EXPECT_EQ(program.Path(), window->SelectedFolder());
  EXPECT_FALSE(window->LayoutChanged());
  EXPECT_TRUE(Find<QPushButton>("cmdSchemaDelete")->isEnabled());

  EXPECT_TRUE(Find<QRadioButton>("optComma")->isChecked());
  EXPECT_EQ("\"", Find<QComboBox>("cboTextChar")->currentText());
  EXPECT_EQ("1", Find<QLineEdit>("txtStart")->text());
  EXPECT_EQ("25", Find<QLineEdit>("txtRows")->text());
  EXPECT_EQ("80", Find<QLineEdit>("txtLength")->text());
  EXPECT_EQ("0", Find<QLineEdit>("txtWidth")->text());
  EXPECT_FALSE(Find<QLineEdit>("txtChar")->isEnabled());
  for (const char* hidden : {"txtLength", "txtFieldCount", "lstLines", "lstSchema", "cboDateTime"}) {
    EXPECT_TRUE(Find<QWidget>(hidden)->isHidden()) << hidden;
  }
  EXPECT_FALSE(Item("mnuFixedLength")->isVisible());
  EXPECT_EQ(0, Find<QComboBox>("cboDateTime")->currentIndex());
  EXPECT_TRUE(Item("mnuRows25")->isChecked());
  EXPECT_TRUE(Item("mnuSepComma")->isChecked());
  EXPECT_TRUE(Item("mnuQuoteDouble")->isChecked());
  EXPECT_EQ(730, Item("mnuODBCOnly")->property("helpContext").toInt());
  EXPECT_EQ(1030, Item("mnuCheckUpdates")->property("helpContext").toInt());
  EXPECT_EQ("Double Quote (\")", Item("mnuQuoteDouble")->text());
  EXPECT_EQ("Space (\" \")", Item("mnuSepSpace")->text());
  EXPECT_EQ("Use  Last E&XPORT File", Item("mnuUseLastExport")->text());
  EXPECT_EQ("Fixed &Length ", Item("mnuFixedLength")->text());

  auto* fields = Find<QTreeView>("lvwFields");
  const QStringList titles = {"Name", "Type", "Width", "Format"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(titles[column], fields->model()->headerData(column, Qt::Horizontal).toString());
  }
  EXPECT_EQ(90, fields->columnWidth(0));
  EXPECT_EQ(50, fields->columnWidth(2));
  // Type is at least 60 and shows "Unknown" whole; Format gives up what Type takes.
  EXPECT_LE(60, fields->columnWidth(1));
  EXPECT_LT(fields->fontMetrics().horizontalAdvance("Unknown"), fields->columnWidth(1) - 8);
  EXPECT_EQ(150, fields->columnWidth(1) + fields->columnWidth(3));
}

TEST_F(StartUpTest, TheFoldersAndFilesGrowWithTheWindow) {
  Start();
  auto* tree = Find<QTreeView>("dirList");
  auto* files = Find<QListWidget>("lstFiles");
  const QSize tree555 = tree->size();
  const QSize files555 = files->size();
  window->resize(1280, 900);
  QApplication::processEvents();
  EXPECT_LT(tree555.height() + 60, tree->height());
  EXPECT_LT(files555.height() + 60, files->height());
  EXPECT_LT(files555.width(), files->width());
}

struct SettingsCase {
  const char* name;
  std::string settings;
  bool sounds;
  bool countFrom0;
  bool odbcOnly;
  bool useLastExport;
  std::string editor;
};

void PrintTo(const SettingsCase& settingsCase, std::ostream* out) { *out << settingsCase.name; }

class StartUpSettingsTest : public WindowTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(StartUpSettingsTest, OptionsFollowTheSettingsFile) {
  WriteSettings(GetParam().settings);
  Start();
  EXPECT_EQ(GetParam().sounds, window->SoundsEnabled());
  EXPECT_EQ(GetParam().sounds, Item("mnuSounds")->isChecked());
  EXPECT_EQ(GetParam().countFrom0, Item("mnuCountFrom0")->isChecked());
  EXPECT_EQ(GetParam().odbcOnly, Item("mnuODBCOnly")->isChecked());
  EXPECT_EQ(GetParam().odbcOnly, Find<QCheckBox>("chkODBCOnly")->isChecked());
  EXPECT_EQ(GetParam().useLastExport, Item("mnuUseLastExport")->isChecked());
  EXPECT_EQ(GetParam().editor, window->EditorPath());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StartUpSettingsTest,
    ::testing::Values(
        SettingsCase{"Sounds", "[Options]\r\nSounds=1\r\n", true, false, true, false, "xdg-open"},
        SettingsCase{"CountFrom2", "[Options]\r\nFieldCountFrom=2\r\n", false, true, true, false,
                     "xdg-open"},
        SettingsCase{"CountFrom1", "[Options]\r\nFieldCountFrom=1\r\n", false, false, true, false,
                     "xdg-open"},
        SettingsCase{"OdbcNo", "[Options]\r\nODBCOnly=No\r\n", false, false, false, false,
                     "xdg-open"},
        SettingsCase{"OdbcLowerCase", "[Options]\r\nODBCOnly=yes\r\n", false, false, false, false,
                     "xdg-open"},
        SettingsCase{"UseLastExport", "[Export]\r\nUseLastFile=Yes\r\n", false, false, true, true,
                     "xdg-open"},
        SettingsCase{"BlankEditor", "[Options]\r\nEditor=  \r\n", false, false, true, false,
                     "xdg-open"},
        SettingsCase{"Editor", "[Options]\r\nEditor=/usr/bin/vi\r\n", false, false, true, false,
                     "/usr/bin/vi"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartUpTest, OpenLastFileInLowerCaseReopensNothing) {
  const std::string last = DataFile("last.csv", kCsv);
  WriteSettings("[Options]\r\nOpenLastFile=yes\r\nLast=" + last + "\r\n");
  Start();
  EXPECT_FALSE(Item("mnuOpenLast")->isChecked());
  EXPECT_EQ("", window->InputPath());
  EXPECT_EQ(program.Path(), window->SelectedFolder());
}

TEST_F(StartUpTest, LastNamingADeletedFileLeavesTheTreeAtHome) {
  WriteSettings("[Options]\r\nOpenLastFile=Yes\r\nLast=" + data.File("gone.csv") + "\r\n");
  Start();
  EXPECT_TRUE(Item("mnuOpenLast")->isChecked());
  EXPECT_EQ("", Find<QLineEdit>("txtInputFile")->text());
  EXPECT_EQ(home.Path(), window->SelectedFolder());
  EXPECT_EQ("", window->InputPath());
}

// The layout on screen at shut-down, as the settings file keeps it.
const char kLastLayout[] =
    "[LastFile]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
    "Col1=Field1 Unknown\r\nCol2=Field2 Unknown\r\nCol3=Field3 Unknown\r\n";

TEST_F(StartUpTest, LastExistingFileIsReopenedWithoutQuestions) {
  const std::string last = DataFile("last.csv", kCsv);
  WriteSettings("[Options]\r\nOpenLastFile=Yes\r\nLast=" + last + "\r\n" + kLastLayout);
  Start();
  EXPECT_EQ(data.Path(), window->SelectedFolder());
  EXPECT_EQ("last.csv", Find<QLineEdit>("txtInputFile")->text());
  EXPECT_EQ(last, window->InputPath());
  EXPECT_EQ(5, GridRows());
  EXPECT_EQ("Bob", Cell(4, 0));
  EXPECT_FALSE(window->LayoutChanged());
}

struct ReopenCase {
  const char* name;
  std::string settings;  // after the Last key
  const char* message;
};

void PrintTo(const ReopenCase& reopenCase, std::ostream* out) { *out << reopenCase.name; }

class ReopenWithoutLayoutTest : public WindowTest, public ::testing::WithParamInterface<ReopenCase> {};

TEST_P(ReopenWithoutLayoutTest, SaysSoInsteadOfLoadingTheFile) {
  const std::string last = DataFile("last.csv", kCsv);
  WriteBytes(data.File("Schema.INI"), "[other.csv]\r\nCol1=a Char\r\n");
  WriteSettings("[Options]\r\nOpenLastFile=Yes\r\nSounds=1\r\nLast=" + last + "\r\n" + GetParam().settings);
  dialogs.Expect(BoxKind::Inform);
  Start();
  EXPECT_EQ(GetParam().message, dialogs.Boxes().back().text);
  EXPECT_EQ((std::vector<Tone>{Tone{550, 600}}), sounds.tones);
  EXPECT_EQ(last, window->InputPath());
  EXPECT_EQ(0, FieldRows());
  EXPECT_EQ(3, GridRows()) << "the file was not loaded";
}

INSTANTIATE_TEST_SUITE_P(
    Sections, ReopenWithoutLayoutTest,
    ::testing::Values(ReopenCase{"LastFileWithoutCol1", "[LastFile]\r\nFormat=TABDelimited\r\n",
                                 "LastFilehas no associated fields"},
                      ReopenCase{"NoLastFileSection", "", "LastFilehas no associated fields"},
                      ReopenCase{"NotInTheSchemaList", "Schema=Yes\r\n" + std::string(kLastLayout),
                                 "last.csvhas no associated fields"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartUpTest, AFileOnTheCommandLineIsLoadedAtOnce) {
  const std::string path = DataFile("start.csv", kCsv);
  Start(path);
  EXPECT_EQ(data.Path(), window->SelectedFolder());
  EXPECT_EQ(path, window->InputPath());
  EXPECT_EQ(3, GridColumns());
  EXPECT_EQ(3, FieldRows());
}

TEST_F(StartUpTest, PlacementIsRestoredWithinTheMinimumSizeAndSavedAtShutDown) {
  WriteSettings("[GUI]\r\nfrmQuorlinLeft=150\r\nfrmQuorlinTop=60\r\nfrmQuorlinWidth=500\r\n"
                "frmQuorlinHeight=700\r\n");
  window = std::make_unique<TfrmQuorlin>(Environment());
  EXPECT_EQ(QRect(150, 60, 795, 700), window->geometry());

  window->setGeometry(120, 130, 900, 600);
  ASSERT_TRUE(window->close());
  const ProfileFile settings(program.File("Quorlin.INI"));
  EXPECT_EQ(120, settings.ReadInteger("GUI", "frmQuorlinLeft", 0));
  EXPECT_EQ(130, settings.ReadInteger("GUI", "frmQuorlinTop", 0));
  EXPECT_EQ(900, settings.ReadInteger("GUI", "frmQuorlinWidth", 0));
  EXPECT_EQ(600, settings.ReadInteger("GUI", "frmQuorlinHeight", 0));
}

TEST_F(StartUpTest, ShutDownWritesTheSixOptionsInOrder) {
  Start();
  const std::string path = DataFile("a.csv", kCsv);
  window->findChild<QLineEdit*>("txtInputFile")->setText("a.csv");
  Item("mnuCountFrom0")->trigger();
  Item("mnuSounds")->trigger();
  ASSERT_TRUE(window->close());

  const ProfileFile settings(program.File("Quorlin.INI"));
  EXPECT_EQ("xdg-open", settings.ReadString("Options", "Editor", "?"));
  EXPECT_EQ(program.Path() + "a.csv", settings.ReadString("Options", "Last", "?"));
  EXPECT_EQ("No", settings.ReadString("Options", "OpenLastFile", "?"));
  EXPECT_EQ("0", settings.ReadString("Options", "FieldCountFrom", "?"));
  EXPECT_EQ("No", settings.ReadString("Options", "Schema", "?"));
  EXPECT_TRUE(settings.ReadBool("Options", "Sounds", false));
  const std::string text = ReadBytes(program.File("Quorlin.INI"));
  std::size_t previous = 0;
  for (const char* key : {"Editor=", "Last=", "OpenLastFile=", "FieldCountFrom=", "Schema=", "Sounds="}) {
    const std::size_t at = text.find(key);
    ASSERT_NE(std::string::npos, at) << key;
    EXPECT_LE(previous, at) << key;
    previous = at;
  }
}

TEST_F(StartUpTest, AShutDownThatCannotWriteKeepsTheWindowOpen) {
  AppEnvironment environment = Environment();
  environment.settingsPath = data.File("missing-folder/Quorlin.INI");
  window = std::make_unique<TfrmQuorlin>(environment);
  window->show();
  dialogs.Expect(BoxKind::Error);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(dialogs.Boxes().back().text.contains("Unable to write to"));
}

TEST_F(StartUpTest, BrowseCancelledChangesNothing) {
  Start();
  dialogs.ExpectFile(false);
  Click("cmdBrowse");
  ASSERT_EQ(1u, dialogs.Boxes().size());
  const FileDialogRequest& request = dialogs.Boxes()[0].request;
  EXPECT_EQ("Select your Input File", request.title);
  EXPECT_EQ("Text Files (*.asc *.txt *.csv *.dat *.log *.tab);;All Files (*)", request.filter);
  EXPECT_EQ(QString::fromStdString(program.Path()), request.initialFile);
  EXPECT_TRUE(request.mustExist);
  EXPECT_EQ("", window->InputPath());
  EXPECT_EQ(program.Path(), window->SelectedFolder());
}

TEST_F(StartUpTest, BrowseSelectsTheFolderFillsTheBoxAndRefreshes) {
  Start();
  const std::string path = DataFile("people.csv", kCsv);
  dialogs.ExpectFile(true, QString::fromStdString(path));
  dialogs.Expect(BoxKind::Ask, true);
  Item("mnuOpen")->trigger();
  EXPECT_EQ(QString::fromStdString(path), Find<QLineEdit>("txtInputFile")->text());
  EXPECT_EQ(data.Path(), window->SelectedFolder());
  EXPECT_EQ(1, Find<QListWidget>("lstFiles")->findItems("people.csv", Qt::MatchExactly).size());
  EXPECT_EQ(path, window->InputPath());
  EXPECT_EQ("REFRESH DATA? (AND RESET FIELDS)", dialogs.Boxes().back().text);
  EXPECT_EQ(5, GridRows());
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(StartUpTest, RefreshWithoutAFileDoesNothing) {
  Start();
  Click("cmdRefresh");
  EXPECT_TRUE(dialogs.Boxes().empty());
}

class RefreshTest : public WindowTest {
 protected:
  void SetUp() override {
    DataFile("people.csv", kCsv);
    WriteSettings("[Options]\r\nOpenLastFile=Yes\r\nLast=" + data.File("people.csv") + "\r\n" + kLastLayout);
    Start();
  }
};

TEST_F(RefreshTest, AnsweredNoChangesNothing) {
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  ASSERT_TRUE(window->LayoutChanged());
  dialogs.Expect(BoxKind::Ask, false);
  dialogs.Expect(BoxKind::Ask, false);
  Click("cmdRefresh");
  EXPECT_TRUE(window->LayoutChanged());
  EXPECT_EQ("Field1", Cell(1, 0));
  EXPECT_EQ(5, GridRows());
}

TEST_F(RefreshTest, AfterAChangeTheSaveQuestionComesFirst) {
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  dialogs.Expect(BoxKind::Ask, false);
  dialogs.Expect(BoxKind::Ask, true);
  Item("mnuRefresh")->trigger();
  ASSERT_EQ(2u, dialogs.Boxes().size());
  EXPECT_EQ("Do you want SAVE to the structure first?\nResetting clears the Fields settings",
            dialogs.Boxes()[0].text);
  EXPECT_EQ("SAVE STRUCTURE?", dialogs.Boxes()[0].caption);
  EXPECT_EQ("REFRESH DATA? (AND RESET FIELDS)", dialogs.Boxes()[1].text);
  EXPECT_EQ("RELOAD DATA FILE?", dialogs.Boxes()[1].caption);
  EXPECT_FALSE(dialogs.Boxes()[1].defaultYes);
  EXPECT_EQ("Name", Cell(1, 0));
  EXPECT_EQ(4, GridRows());
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(RefreshTest, WithoutChangesOnlyTheReloadQuestionIsAsked) {
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdRefresh");
  EXPECT_EQ(1u, dialogs.Boxes().size());
}

TEST_F(RefreshTest, WithSoundsTheOkTunePlaysAndWaits) {
  Item("mnuSounds")->trigger();
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdRefresh");
  EXPECT_EQ(std::vector<int>{0}, sounds.presets);
  EXPECT_EQ(std::vector<int>{20}, sounds.delays);
}

TEST_F(RefreshTest, AMissingFileIsReportedAndTheWindowGoesOn) {
  std::remove(data.File("people.csv").c_str());
  dialogs.Expect(BoxKind::Ask, true);
  dialogs.Expect(BoxKind::Error);
  Click("cmdRefresh");
  EXPECT_TRUE(dialogs.Boxes().back().text.contains("File not found"));
  EXPECT_TRUE(dialogs.Boxes().back().text.contains("people.csv"));

  DataFile("other.csv", "x,y\r\n");
  Find<QListWidget>("lstFiles")->addItem("other.csv");
  dialogs.Expect(BoxKind::Confirm, false);
  OpenFromList("other.csv");
  EXPECT_EQ(data.File("other.csv"), window->InputPath());
  EXPECT_EQ(2, GridColumns());
}

TEST_F(RefreshTest, TheFileListAsksToSaveChangesFirst) {
  DataFile("other.csv", "x,y\r\n");
  Find<QListWidget>("lstFiles")->addItem("other.csv");
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  dialogs.Expect(BoxKind::Confirm, false);
  OpenFromList("other.csv");
  EXPECT_EQ("Save Changes?", dialogs.Boxes()[0].text);
  EXPECT_EQ(QString::fromStdString(data.File("other.csv")), Find<QLineEdit>("txtInputFile")->text());
}

TEST_F(RefreshTest, BrowseOffersToSaveUnderTheFileWhoseLayoutIsShown) {
  const std::string next = home.File("next.csv");
  WriteBytes(next, "p,q\r\n");
  WriteBytes(home.File("Schema.INI"), "[next.csv]\r\nFormat=TabDelimited\r\nCol1=p Char Width 9\r\n");
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  dialogs.ExpectFile(true, QString::fromStdString(next));
  dialogs.Expect(BoxKind::Confirm, true);
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdBrowse");
  EXPECT_EQ("Save Changes?", dialogs.Boxes()[1].text);
  EXPECT_EQ("True", ProfileFile(data.File("Schema.INI")).ReadString("people.csv", "ColNameHeader", "?"));
  EXPECT_EQ("TabDelimited", ProfileFile(home.File("Schema.INI")).ReadString("next.csv", "Format", "?"));
  EXPECT_EQ(next, window->InputPath());
}

TEST_F(RefreshTest, ChoosingAnotherFolderSavesTheLayoutWhereItsFileIs) {
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  dialogs.Expect(BoxKind::Confirm, true);
  dialogs.Expect(BoxKind::Inform);
  auto* tree = Find<QTreeView>("dirList");
  auto* folders = qobject_cast<QFileSystemModel*>(tree->model());
  tree->setCurrentIndex(folders->index(QString::fromStdString(home.Path()).chopped(1)));
  EXPECT_EQ("Save Changes?", dialogs.Boxes()[0].text);
  EXPECT_EQ("True", ProfileFile(data.File("Schema.INI")).ReadString("people.csv", "ColNameHeader", "?"));
  EXPECT_FALSE(std::filesystem::exists(home.File("Schema.INI")));
}

TEST_F(RefreshTest, ViewDataOpensTheInputBoxFileInTheEditor) {
  Click("cmdViewData");
  ASSERT_EQ(1u, launches.editorRuns.size());
  EXPECT_EQ("xdg-open", launches.editorRuns[0].first);
  EXPECT_EQ(QString::fromStdString(data.File("people.csv")), launches.editorRuns[0].second);
}

TEST_F(StartUpTest, OptionQuestionsWriteTheirKeyAtOnce) {
  Start();
  dialogs.Expect(BoxKind::Ask, true);
  Item("mnuOpenLast")->trigger();
  EXPECT_EQ("Open Last File on Start?", dialogs.Boxes().back().text);
  EXPECT_EQ("OPTIONS", dialogs.Boxes().back().caption);
  EXPECT_FALSE(dialogs.Boxes().back().defaultYes);
  EXPECT_TRUE(Item("mnuOpenLast")->isChecked());
  const ProfileFile settings(program.File("Quorlin.INI"));
  EXPECT_EQ("Yes", settings.ReadString("Options", "OpenLastFile", "?"));

  dialogs.Expect(BoxKind::Ask, false);
  Item("mnuUseLastExport")->trigger();
  EXPECT_EQ("Use Last EXPORT File FORMAT on Start?", dialogs.Boxes().back().text);
  EXPECT_FALSE(Item("mnuUseLastExport")->isChecked());
  EXPECT_EQ("No", settings.ReadString("Export", "UseLastFile", "?"));
}

TEST_F(StartUpTest, SetEditorCancelledWritesTheCurrentEditorAgain) {
  WriteSettings("[Options]\r\nEditor=/usr/bin/vi\r\n");
  Start();
  dialogs.ExpectFile(false);
  Item("mnuSetEditor")->trigger();
  EXPECT_EQ("Locate Editor for displaying results...", dialogs.Boxes().back().request.title);
  EXPECT_EQ("/usr/bin/vi", dialogs.Boxes().back().request.initialFile);
  EXPECT_EQ("/usr/bin/vi", window->EditorPath());
  EXPECT_EQ("/usr/bin/vi",
            ProfileFile(program.File("Quorlin.INI")).ReadString("Options", "Editor", "?"));

  dialogs.ExpectFile(false);
  Click("cmdBrowse");
  EXPECT_EQ("Select your Input File", dialogs.Boxes().back().request.title);
}

TEST_F(StartUpTest, SetEditorChosenBecomesTheEditor) {
  Start();
  dialogs.ExpectFile(true, "/usr/bin/nano");
  Item("mnuSetEditor")->trigger();
  EXPECT_EQ("/usr/bin/nano", window->EditorPath());
  EXPECT_EQ("/usr/bin/nano",
            ProfileFile(program.File("Quorlin.INI")).ReadString("Options", "Editor", "?"));
}

TEST_F(StartUpTest, SetEditorWithoutAChoiceFallsBackToTheDesktopsEditor) {
  WriteSettings("[Options]\r\nEditor=/usr/bin/vi\r\n");
  Start();
  dialogs.ExpectFile(true, " ");
  dialogs.Expect(BoxKind::Inform);
  Item("mnuSetEditor")->trigger();
  EXPECT_EQ("No Editor chosen, Defaulting to the desktop's text editor", dialogs.Boxes().back().text);
  EXPECT_EQ("xdg-open", window->EditorPath());
  EXPECT_EQ("/usr/bin/vi", ProfileFile(program.File("Quorlin.INI")).ReadString("Options", "Editor", "?"));
}

TEST_F(StartUpTest, ARightClickOnTheFolderTreeKeepsTheFolder) {
  Start(home.Path());
  auto* tree = Find<QTreeView>("dirList");
  const QModelIndex other = qobject_cast<QFileSystemModel*>(tree->model())->index(
      QString::fromStdString(program.Path()).chopped(1));
  tree->scrollTo(other);
  const QRect cell = tree->visualRect(other);
  ASSERT_TRUE(cell.isValid());
  QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, cell.center());
  EXPECT_EQ(home.Path(), window->SelectedFolder());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(program.Path(), window->SelectedFolder());
}

}  // namespace
}  // namespace quorlin::testing
