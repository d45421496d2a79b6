// Print Structure: the report of the layout on screen to a text file or to the printer.
#include <QDate>
#include <QPrinterInfo>

#include "app/report_printer.h"
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class ReportTest : public WindowTest {
 protected:
  // The stock file's guessed fixed-length layout: CODE, QTY and NAME.
  void SetUp() override {
    Start(DataFile("stock.dat", kStockFile));
    SwitchToFixedLength();
    Find<QCheckBox>("chkHeaderRow")->click();
    MarkBreak(11);
    MarkBreak(17);
    Click("cmdGuess");
    ASSERT_EQ(3, FieldRows());
    dialogs.Forget();
  }

  // The golden report, of this data folder and dated today.
  std::string ExpectedReport() {
    const std::string golden = ReadBytes(std::string(QUORLIN_TEST_DATA) + "/golden/report/stock_guessed.txt");
    return Replaced(Replaced(golden, "/data/", data.Path()), "2002/01/05",
                    QDate::currentDate().toString("yyyy/MM/dd").toStdString());
  }

  // The save dialog answers with `path`; `then` are the boxes that follow it.
  void PrintToFile(const std::string& path, std::initializer_list<std::pair<BoxKind, bool>> then) {
    dialogs.ExpectSaveFile(true, QString::fromStdString(path));
    for (const auto& [kind, yes] : then) dialogs.Expect(kind, yes);
    Item("mnuPrintToFile")->trigger();
  }
};

TEST_F(ReportTest, ToFileOffersTheFileDialogAndWritesTheReport) {
  dialogs.ExpectFile(false);
  Click("cmdBrowse");
  const FileDialogRequest browse = dialogs.Boxes().back().request;

  const std::string output = data.File("Structure.Txt");
  PrintToFile(output, {{BoxKind::Inform, true}});
  const FileDialogRequest& request = dialogs.Boxes()[1].request;
  EXPECT_EQ(BoxKind::SaveFile, dialogs.Boxes()[1].kind);
  EXPECT_EQ(browse.title, request.title);
  EXPECT_EQ(browse.filter, request.filter);
  EXPECT_EQ(QString::fromStdString(output), request.initialFile);
  EXPECT_FALSE(request.mustExist);
  EXPECT_SAME_BYTES(ExpectedReport(), ReadBytes(output));
  EXPECT_EQ(QString::fromStdString("Output in " + output), dialogs.Boxes().back().text);
}

TEST_F(ReportTest, AnExistingFileIsReplacedOnlyAfterYes) {
  const std::string output = data.File("old.txt");
  WriteBytes(output, "keep me");
  PrintToFile(output, {{BoxKind::Confirm, false}});
  EXPECT_EQ(QString::fromStdString("File " + output + " Exists, Overwrite?"), dialogs.Boxes().back().text);
  EXPECT_EQ("keep me", ReadBytes(output));

  PrintToFile(output, {{BoxKind::Confirm, true}, {BoxKind::Inform, true}});
  EXPECT_SAME_BYTES(ExpectedReport(), ReadBytes(output));

  // Nor is the data file replaced by its own description, whatever the answer would be.
  PrintToFile(data.File("stock.dat"), {{BoxKind::Inform, true}});
  EXPECT_EQ(QString::fromStdString(data.File("stock.dat") + ": the output is the input file, which is never written"),
            dialogs.Boxes().back().text);
  EXPECT_EQ(kStockFile, ReadBytes(data.File("stock.dat")));
}

TEST_F(ReportTest, ToPrinterPrintsTheSameReportAsItsJob) {
  Item("mnuPrintToPrinter")->trigger();
  EXPECT_TRUE(dialogs.Boxes().empty());
  ASSERT_EQ(1u, printer.jobs.size());
  EXPECT_EQ("Mervane - Print File Structure", printer.jobs[0].name);
  EXPECT_EQ(QString::fromStdString(ExpectedReport()), printer.jobs[0].text);
}

TEST_F(ReportTest, WithoutAPrinterTheUserIsToldSo) {
  printer.outcome = PrintOutcome::NoPrinter;
  dialogs.Expect(BoxKind::Inform);
  Item("mnuPrintToPrinter")->trigger();
  EXPECT_EQ("No default printer is set up, so the structure cannot be printed.\n"
            "Print it To File instead, or set up a printer and try again.",
            dialogs.Boxes().back().text);
}

TEST_F(WindowTest, WithoutFieldsThereIsNoStructureToPrint) {
  Start();
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Inform);
  Item("mnuPrintToFile")->trigger();
  Item("mnuPrintToPrinter")->trigger();
  EXPECT_EQ((std::vector<QString>{"No File Structure Displayed", "No File Structure Displayed"}), dialogs.Texts());
  EXPECT_TRUE(printer.jobs.empty());
}

TEST(QtReportPrinter, WithoutADefaultPrinterPrintsNothing) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
  QtReportPrinter printer;
  EXPECT_EQ(PrintOutcome::NoPrinter, printer.Print("Mervane - Print File Structure", "    Text File Structure \r\n"));
}

}  // namespace
}  // namespace quorlin::testing
