#include "app/window_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

Settings Load(const std::string& text) {
  TempDir dir;
  WriteBytes(dir.File("Quorlin.INI"), text);
  return LoadSettings(ProfileFile(dir.File("Quorlin.INI")));
}

TEST(Settings, AMissingFileGivesEveryDefault) {
  TempDir dir;
  const Settings settings = LoadSettings(ProfileFile(dir.File("Quorlin.INI")));
  EXPECT_EQ(Settings{}, settings);
  EXPECT_TRUE(settings.options.odbcOnly);
  EXPECT_EQ(1, settings.options.numberingBase);
  EXPECT_EQ("80", settings.options.fixedLength);
  EXPECT_TRUE(settings.exports.includeFieldNames);
  EXPECT_EQ("\"", settings.exports.quoteChar);
  EXPECT_FALSE(settings.mainWindow.left.has_value());
  EXPECT_FALSE(std::filesystem::exists(dir.File("Quorlin.INI")));
}

TEST(Settings, EveryKeyIsRead) {
  const Settings settings = Load(
      "[Options]\r\nSounds=1\r\nEditor=/usr/bin/vi\r\nFieldCountFrom=0\r\nODBCOnly=No\r\n"
      "OpenLastFile=Yes\r\nLast=/data/a.csv\r\nSchema=Yes\r\nFixedLength=120\r\n"
      "[Export]\r\nUseLastFile=Yes\r\nExportAs=8\r\nHeaderRow=Yes\r\nIncludeFields=No\r\n"
      "Title=Stock\r\nFileName=/out/a.xml\r\nCustomChar=;\r\nQuoteChar='\r\n"
      "Compression=snappy\r\nRowsPerFile=5000\r\nCurrencyAsDecimal=Yes\r\n"
      "[GUI]\r\nfrmQuorlinLeft=10\r\nfrmQuorlinTop=20\r\nfrmQuorlinWidth=900\r\nfrmQuorlinHeight=700\r\n"
      "frmExportDataLeft=-5\r\nfrmExportDataHeight=300\r\n");
  EXPECT_EQ((OptionSettings{true, "/usr/bin/vi", 0, false, true, "/data/a.csv", true, "120"}),
            settings.options);
  EXPECT_EQ((ExportSettings{true, 7, true, false, "Stock", "/out/a.xml", ";", "'", "snappy", 5000, true}),
            settings.exports);
  EXPECT_EQ((StoredPlacement{10, 20, 900, 700}), settings.mainWindow);
  EXPECT_EQ((StoredPlacement{-5, std::nullopt, std::nullopt, 300}), settings.exportWindow);
}

struct GarbageCase {
  const char* name;
  std::string file;
  Settings expected;
};

void PrintTo(const GarbageCase& garbageCase, std::ostream* out) { *out << garbageCase.name; }

Settings With(void (*change)(Settings&)) {
  Settings settings;
  change(settings);
  return settings;
}

class SettingsGarbage : public ::testing::TestWithParam<GarbageCase> {};

TEST_P(SettingsGarbage, GivesTheDefaultOrTheRuleOfTheKey) { EXPECT_EQ(GetParam().expected, Load(GetParam().file)); }

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsGarbage,
    ::testing::Values(
        GarbageCase{"SoundsWord", "[Options]\r\nSounds=yes\r\n", Settings{}},
        GarbageCase{"SoundsTwo", "[Options]\r\nSounds=2\r\n", With([](Settings& s) { s.options.sounds = true; })},
        GarbageCase{"CountFromWord", "[Options]\r\nFieldCountFrom=one\r\n", Settings{}},
        GarbageCase{"CountFromTwo", "[Options]\r\nFieldCountFrom=2\r\n",
                    With([](Settings& s) { s.options.numberingBase = 0; })},
        GarbageCase{"YesInLowerCase", "[Options]\r\nOpenLastFile=yes\r\nSchema=YES\r\nODBCOnly=yes\r\n",
                    With([](Settings& s) { s.options.odbcOnly = false; })},
        GarbageCase{"FixedLengthWord", "[Options]\r\nFixedLength=8o\r\n", Settings{}},
        GarbageCase{"FixedLengthNegative", "[Options]\r\nFixedLength=-3\r\n", Settings{}},
        GarbageCase{"FixedLengthHex", "[Options]\r\nFixedLength=0x20\r\n",
                    With([](Settings& s) { s.options.fixedLength = "32"; })},
        GarbageCase{"ExportAsWord", "[Export]\r\nExportAs=xls\r\n", Settings{}},
        GarbageCase{"ExportAsBelow", "[Export]\r\nExportAs=-9223372036854775808\r\n", Settings{}},
        GarbageCase{"ExportAsAbove", "[Export]\r\nExportAs=99999999999\r\n",
                    With([](Settings& s) { s.exports.formatIndex = 12; })},
        GarbageCase{"HeaderRowWord", "[Export]\r\nHeaderRow=maybe\r\nIncludeFields=\r\n",
                    With([](Settings& s) { s.exports.includeHeaderRow = true; })},
        GarbageCase{"RowsPerFileNegativeAndYesInLowerCase", "[Export]\r\nRowsPerFile=-4\r\nCurrencyAsDecimal=yes\r\n",
                    Settings{}},
        GarbageCase{"PlacementWords", "[GUI]\r\nfrmQuorlinLeft=left\r\nfrmQuorlinWidth=99999999999\r\n",
                    Settings{}},
        GarbageCase{"BinaryJunk", std::string("\0\xff[Options\r\n=\r\n[GUI]]\r\nSounds\r\n", 32), Settings{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Settings, ShutDownWritesItsSixKeysInOrderAndReadsBack) {
  TempDir dir;
  ProfileFile file(dir.File("Quorlin.INI"));
  OptionSettings options;
  options.sounds = true;
  options.editor = "/usr/bin/nano";
  options.numberingBase = 0;
  options.openLastFile = true;
  options.last = "/data/a.csv";
  options.schema = true;
  SaveShutDownOptions(file, options);
  EXPECT_SAME_BYTES(
      "[Options]\r\nEditor=/usr/bin/nano\r\nLast=/data/a.csv\r\nOpenLastFile=Yes\r\nFieldCountFrom=0\r\n"
      "Schema=Yes\r\nSounds=1\r\n",
      ReadBytes(dir.File("Quorlin.INI")));
  EXPECT_EQ(options, LoadSettings(file).options);
}

TEST(Settings, ExportKeysAndPlacementsReadBackAsWritten) {
  TempDir dir;
  ProfileFile file(dir.File("Quorlin.INI"));
  const ExportSettings exports{false, 9, true, false, "T", "/o.sql", "|", "{none}", "none", 7, true};
  SaveExportSettings(file, exports);
  SaveUseLastExport(file, true);
  SavePlacement(file, kExportWindowName, {1, 2, 300, 400});
  SaveOpenLastFile(file, true);
  SaveEditor(file, "ed");
  const Settings settings = LoadSettings(file);
  ExportSettings expected = exports;
  expected.useLastFile = true;
  EXPECT_EQ(expected, settings.exports);
  EXPECT_EQ((StoredPlacement{1, 2, 300, 400}), settings.exportWindow);
  EXPECT_TRUE(settings.options.openLastFile);
  EXPECT_EQ("ed", settings.options.editor);
  EXPECT_EQ("10", file.ReadString("Export", "ExportAs", "?"));
}

TEST(Settings, PlacedBoundsKeepWhatIsNotStored) {
  EXPECT_EQ((WindowBounds{150, 110, 796, 700}),
            PlacedBounds({150, std::nullopt, std::nullopt, 700}, {100, 110, 796, 555}));
}

}  // namespace
}  // namespace quorlin
