#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/file_error.h"
#include "support/other_user.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class ProfileFileTest : public ::testing::Test {
 protected:
  std::set<std::string> FolderEntries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  // The exact message, the old bytes still there and no temporary file left.
  void ExpectFailedWrite(const std::function<void()>& write, const std::string& oldBytes) {
    const std::set<std::string> before = FolderEntries();
    try {
      write();
      ADD_FAILURE() << "the write did not fail";
    } catch (const FileError& error) {
      EXPECT_EQ("Unable to write to " + path_, error.what());
    }
    EXPECT_EQ(before, FolderEntries());
    if (std::filesystem::is_regular_file(path_)) {
      EXPECT_SAME_BYTES(oldBytes, ReadBytes(path_));
    }
  }

  TempDir dir_;
  std::string path_ = dir_.File("Schema.INI");
  ProfileFile ini_{path_};
};

const char kMixed[] =
    "; made by hand\r\n"
    "orphan=before any section\r\n"
    "[First]\r\n"
    "Alpha = one \r\n"
    "; a comment in First\r\n"
    "Beta=two\r\n"
    "not a key line\r\n"
    "\r\n"
    "[Second]\r\n"
    "Gamma=three\r\n"
    "\r\n";

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndCreatesNothing) {
  EXPECT_EQ("dflt", ini_.ReadString("Options", "Key", "dflt"));
  EXPECT_EQ(-4, ini_.ReadInteger("Options", "Key", -4));
  EXPECT_TRUE(ini_.ReadBool("Options", "Key", true));
  EXPECT_TRUE(ini_.ReadSections().empty());
  ini_.EraseSection("Options");
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(ProfileFileTest, NamesMatchWithoutCaseAndSurroundingBlanks) {
  WriteBytes(path_, "[ Options ]\r\n  FieldCountFrom = 2 \r\n");
  EXPECT_EQ(2, ini_.ReadInteger("options", "fieldcountfrom", 9));
  EXPECT_EQ("2", ini_.ReadString(" OPTIONS", "FIELDCOUNTFROM ", ""));
}

TEST_F(ProfileFileTest, WrittenKeyIsFoundInAnyCase) {
  ini_.WriteInteger("Options", "FieldCountFrom", 0);
  EXPECT_EQ(0, ini_.ReadInteger("OPTIONS", "fieldcountfrom", 1));
}

TEST_F(ProfileFileTest, ReadsOnlyKeysOfTheirSection) {
  WriteBytes(path_, kMixed);
  EXPECT_EQ("one", ini_.ReadString("First", "Alpha", "?"));
  EXPECT_EQ("two", ini_.ReadString("First", "Beta", "?"));
  EXPECT_EQ("?", ini_.ReadString("First", "Gamma", "?"));
  EXPECT_EQ("?", ini_.ReadString("First", "orphan", "?"));
  EXPECT_EQ("?", ini_.ReadString("First", "; a comment in First", "?"));
  EXPECT_EQ("three", ini_.ReadString("second", "gamma", "?"));
}

TEST_F(ProfileFileTest, EmptyValueIsAValueAndCommentsAreNotKeys) {
  WriteBytes(path_, "[S]\nEmpty=\n;Hidden=1\n[Open\nAfter=2\n");
  EXPECT_EQ("", ini_.ReadString("S", "Empty", "dflt"));
  EXPECT_EQ("dflt", ini_.ReadString("S", ";Hidden", "dflt"));
  EXPECT_EQ("2", ini_.ReadString("S", "After", "dflt")) << "a header without ] is no section";
}

TEST_F(ProfileFileTest, LongValuesAreCutAt2047Bytes) {
  WriteBytes(path_, "[S]\r\nK=" + std::string(5000, 'v') + "\r\n");
  EXPECT_EQ(std::string(2047, 'v'), ini_.ReadString("S", "K", ""));
}

TEST_F(ProfileFileTest, ReadIntegerAcceptsDecimalAndHexOnly) {
  const struct {
    const char* stored;
    long expected;
  } cases[] = {
      {"31", 31},  {"-12", -12}, {"+12", 12},   {" 42 ", 42}, {"0x1F", 31}, {"0X1f", 31},
      {"$1F", 31}, {"", 7},      {"12abc", 7},  {"abc", 7},   {"1.5", 7},   {"0x", 7},
      {"$", 7},    {"-", 7},     {"-0x1F", 7},  {"0x-1", 7},  {"- 5", 7},   {"+-5", 7},
      {"99999999999999999999", 7},
  };
  for (const auto& c : cases) {
    WriteBytes(path_, std::string("[S]\nK=") + c.stored + "\n");
    EXPECT_EQ(c.expected, ini_.ReadInteger("S", "K", 7)) << "stored: " << c.stored;
  }
}

TEST_F(ProfileFileTest, ReadBoolIsANonzeroInteger) {
  WriteBytes(path_, "[S]\nTwo=2\nZero=0\nMinus=-1\nWord=yes\n");
  EXPECT_TRUE(ini_.ReadBool("S", "Two", false));
  EXPECT_FALSE(ini_.ReadBool("S", "Zero", true));
  EXPECT_TRUE(ini_.ReadBool("S", "Minus", false));
  EXPECT_TRUE(ini_.ReadBool("S", "Word", true));
  EXPECT_FALSE(ini_.ReadBool("S", "Word", false));
  EXPECT_TRUE(ini_.ReadBool("S", "Missing", true));
}

TEST_F(ProfileFileTest, NewFileGetsSectionsAndKeysWithCrLf) {
  ini_.WriteBool("Options", "Sounds", true);
  ini_.WriteBool("Options", "Schema", false);
  ini_.WriteInteger("GUI", "frmQuorlinLeft  ", -20);
  ini_.WriteString(" Export ", " Title ", "  Sales  ");
  EXPECT_SAME_BYTES(
      "[Options]\r\nSounds=1\r\nSchema=0\r\n[GUI]\r\nfrmQuorlinLeft=-20\r\n[Export]\r\nTitle=  Sales  \r\n",
      ReadBytes(path_));
  EXPECT_EQ("Sales", ini_.ReadString("export", "title", ""));
}

TEST_F(ProfileFileTest, ExistingValueIsReplacedInPlace) {
  WriteBytes(path_, kMixed);
  ini_.WriteString("FIRST", "alpha", "uno");
  std::string expected = kMixed;
  expected.replace(expected.find("one \r\n"), 4, "uno");
  EXPECT_SAME_BYTES(expected, ReadBytes(path_));
}

TEST_F(ProfileFileTest, NewKeyFollowsTheLastKeyOfItsSection) {
  WriteBytes(path_, kMixed);
  ini_.WriteString("First", "Delta", "four");
  std::string expected = kMixed;
  expected.insert(expected.find("not a key line"), "Delta=four\r\n");
  EXPECT_SAME_BYTES(expected, ReadBytes(path_));
}

TEST_F(ProfileFileTest, NewSectionIsAppendedAtTheEnd) {
  WriteBytes(path_, kMixed);
  ini_.WriteString("Third", "Key", "v");
  EXPECT_SAME_BYTES(std::string(kMixed) + "[Third]\r\nKey=v\r\n", ReadBytes(path_));
}

TEST_F(ProfileFileTest, UnterminatedLastLineIsEndedBeforeAppending) {
  WriteBytes(path_, "[A]\r\nX=1");
  ini_.WriteString("A", "Y", "2");
  EXPECT_SAME_BYTES("[A]\r\nX=1\r\nY=2\r\n", ReadBytes(path_));
  WriteBytes(path_, "[A]");
  ini_.WriteString("A", "Y", "2");
  EXPECT_SAME_BYTES("[A]\r\nY=2\r\n", ReadBytes(path_));
  WriteBytes(path_, "junk");
  ini_.WriteString("B", "Z", "3");
  EXPECT_SAME_BYTES("junk\r\n[B]\r\nZ=3\r\n", ReadBytes(path_));
}

TEST_F(ProfileFileTest, LfOnlyFileGetsLfLines) {
  WriteBytes(path_, "[A]\nX=1\n\n[B]\n");
  ini_.WriteString("A", "Y", "2");
  ini_.WriteString("B", "Z", "3");
  ini_.WriteString("C", "W", "4");
  EXPECT_SAME_BYTES("[A]\nX=1\nY=2\n\n[B]\nZ=3\n[C]\nW=4\n", ReadBytes(path_));
}

TEST_F(ProfileFileTest, DuplicatesResolveToTheFirstOccurrence) {
  WriteBytes(path_, "[S]\r\nK=first\r\nK=second\r\n[s]\r\nK=third\r\nOnly=here\r\n");
  EXPECT_EQ("first", ini_.ReadString("S", "K", ""));
  EXPECT_EQ("dflt", ini_.ReadString("S", "Only", "dflt"));
  ini_.WriteString("S", "K", "new");
  ini_.WriteString("S", "Only", "added");
  EXPECT_SAME_BYTES("[S]\r\nK=new\r\nK=second\r\nOnly=added\r\n[s]\r\nK=third\r\nOnly=here\r\n",
                    ReadBytes(path_));
  EXPECT_EQ((std::vector<std::string>{"S"}), ini_.ReadSections());
}

TEST_F(ProfileFileTest, EraseSectionKeepsEveryOtherLine) {
  WriteBytes(path_, kMixed);
  ini_.EraseSection(" first ");
  EXPECT_SAME_BYTES(
      "; made by hand\r\norphan=before any section\r\n; a comment in First\r\nnot a key line\r\n\r\n"
      "[Second]\r\nGamma=three\r\n\r\n",
      ReadBytes(path_));
  EXPECT_EQ("dflt", ini_.ReadString("First", "Beta", "dflt"));
}

TEST_F(ProfileFileTest, EraseSectionRemovesEveryCopyOfIt) {
  WriteBytes(path_, "[A]\nK=1\n[B]\nK=2\n[a]\nK=3\n");
  ini_.EraseSection("A");
  EXPECT_SAME_BYTES("[B]\nK=2\n", ReadBytes(path_));
  EXPECT_EQ("dflt", ini_.ReadString("A", "K", "dflt"));
}

TEST_F(ProfileFileTest, RepeatedEraseAndRewriteDoesNotGrowTheFile) {
  WriteBytes(path_, kMixed);
  ini_.EraseSection("First");
  ini_.WriteString("First", "Alpha", "one");
  const std::string once = ReadBytes(path_);
  for (int round = 0; round < 3; ++round) {
    ini_.EraseSection("First");
    ini_.WriteString("First", "Alpha", "one");
  }
  EXPECT_SAME_BYTES(once, ReadBytes(path_));
}

TEST_F(ProfileFileTest, ReadSectionGivesTheKeysOfTheFirstSectionOfTheName) {
  EXPECT_TRUE(ini_.ReadSection("First").empty());
  WriteBytes(path_, std::string(kMixed) + "[first]\r\nAlpha=later\r\n");
  using Keys = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ((Keys{{"Alpha", "one"}, {"Beta", "two"}}), ini_.ReadSection(" FIRST "));
  EXPECT_TRUE(ini_.ReadSection("Nowhere").empty());
}

TEST_F(ProfileFileTest, ReplaceSectionRewritesItAtTheEndInOneGo) {
  WriteBytes(path_, kMixed);
  ini_.ReplaceSection("first", {{"Alpha", "uno"}, {"Delta", "four"}});
  EXPECT_SAME_BYTES(
      "; made by hand\r\norphan=before any section\r\n; a comment in First\r\nnot a key line\r\n\r\n"
      "[Second]\r\nGamma=three\r\n\r\n[first]\r\nAlpha=uno\r\nDelta=four\r\n",
      ReadBytes(path_));
}

TEST_F(ProfileFileTest, ReplaceSectionWithAnUnstorableKeyChangesNothing) {
  WriteBytes(path_, kMixed);
  ExpectFailedWrite([&] { ini_.ReplaceSection("First", {{"Alpha", "a"}, {"Beta", "b\nc"}}); },
                    kMixed);
}

TEST_F(ProfileFileTest, ErasingAMissingSectionLeavesTheFileAlone) {
  WriteBytes(path_, kMixed);
  ini_.EraseSection("Nowhere");
  EXPECT_SAME_BYTES(kMixed, ReadBytes(path_));
}

TEST_F(ProfileFileTest, SectionsAreListedInFileOrderUpToTheBufferSize) {
  WriteBytes(path_, kMixed);
  EXPECT_EQ((std::vector<std::string>{"First", "Second"}), ini_.ReadSections());

  // Names of 99 bytes take 100 with their NUL; with the closing NUL 163 fit in 16384 bytes.
  std::string many;
  for (int i = 0; i < 200; ++i) many += "[" + std::string(96, 'n') + std::to_string(100 + i) + "]\n";
  WriteBytes(path_, many);
  const std::vector<std::string> names = ini_.ReadSections();
  ASSERT_EQ(163u, names.size());
  EXPECT_EQ(std::string(96, 'n') + "262", names.back());
  EXPECT_TRUE(ini_.HasSection(" " + std::string(96, 'N') + "299 "));
  EXPECT_FALSE(ini_.HasSection(std::string(96, 'n') + "300"));
}

// Where a file that cannot be read must not pass for a missing one, every read says why.
TEST_F(ProfileFileTest, UnreadableFileRaisesWhenAskedTo) {
  const ProfileFile strict(path_, Unreadable::Raises);
  EXPECT_EQ("dflt", strict.ReadString("S", "K", "dflt"));
  const auto failure = [&] {
    try {
      strict.ReadSections();
    } catch (const FileError& error) {
      return std::string(error.what());
    }
    return std::string("read");
  };
  std::filesystem::create_directory(path_);
  EXPECT_EQ("Cannot read " + path_ + ": it is a folder", failure());
  std::filesystem::remove(path_);
  ASSERT_EQ(0, mkfifo(path_.c_str(), 0644));
  EXPECT_EQ("Cannot read " + path_ + ": it is not a regular file", failure());
  std::filesystem::remove(path_);

  WriteBytes(path_, kMixed);
  ASSERT_EQ(0, chmod(path_.c_str(), 0));
  ASSERT_EQ(0, chmod(dir_.Path().c_str(), 0755));
  EXPECT_EQ("Cannot read " + path_ + ": Permission denied", testing::RunWithoutPrivileges(failure));
}

TEST_F(ProfileFileTest, Utf8MarkBeforeTheFirstSectionIsNotPartOfIt) {
  WriteBytes(path_, "\xEF\xBB\xBF[First]\r\nAlpha=one\r\n");
  EXPECT_EQ("one", ini_.ReadString("First", "Alpha", "dflt"));
  ini_.WriteString("First", "Alpha", "two");
  EXPECT_SAME_BYTES("\xEF\xBB\xBF[First]\r\nAlpha=two\r\n", ReadBytes(path_));
  WriteBytes(path_, "\xEF\xBB\xBFKey=v\r\n");
  ini_.WriteString("S", "Key", "w");
  EXPECT_SAME_BYTES("\xEF\xBB\xBFKey=v\r\n[S]\r\nKey=w\r\n", ReadBytes(path_));
}

TEST_F(ProfileFileTest, NulBytesAreOrdinaryBytes) {
  const char bytes[] = "[S]\r\nK=a\0b\r\n\0\0\0\r\n[T]\r\nL=1\r\n";
  const std::string text(bytes, sizeof bytes - 1);
  WriteBytes(path_, text);
  EXPECT_EQ(std::string("a\0b", 3), ini_.ReadString("S", "K", ""));
  ini_.WriteString("T", "L", "2");
  std::string expected = text;
  expected[expected.rfind('1')] = '2';
  EXPECT_SAME_BYTES(expected, ReadBytes(path_));
}

TEST_F(ProfileFileTest, EndlessLineIsCarriedOver) {
  const std::string text = "[S]\r\nK=1\r\n" + std::string(50 << 20, 'x') + "\r\n[T]\r\nL=2\r\n";
  WriteBytes(path_, text);
  EXPECT_EQ("2", ini_.ReadString("T", "L", ""));
  ini_.WriteString("S", "K", "9");
  std::string expected = text;
  expected[7] = '9';
  EXPECT_TRUE(ReadBytes(path_) == expected);
}

TEST_F(ProfileFileTest, FileThatIsNotIniKeepsItsBytes) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  garbage += "\n";
  WriteBytes(path_, garbage);
  EXPECT_EQ("dflt", ini_.ReadString("S", "K", "dflt"));
  ini_.WriteString("S", "K", "v");
  EXPECT_SAME_BYTES(garbage + "[S]\nK=v\n", ReadBytes(path_));
}

TEST_F(ProfileFileTest, DirectoryAtThePathReadsAsMissingAndFailsWrites) {
  std::filesystem::create_directory(path_);
  EXPECT_EQ("dflt", ini_.ReadString("S", "K", "dflt"));
  EXPECT_TRUE(ini_.ReadSections().empty());
  ExpectFailedWrite([&] { ini_.WriteString("S", "K", "v"); }, "");
  ExpectFailedWrite([&] { ini_.EraseSection("S"); }, "");
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(ProfileFileTest, FifoAtThePathNeitherBlocksNorIsReplaced) {
  ASSERT_EQ(0, mkfifo(path_.c_str(), 0644));
  EXPECT_EQ("dflt", ini_.ReadString("S", "K", "dflt"));
  ExpectFailedWrite([&] { ini_.WriteString("S", "K", "v"); }, "");
  EXPECT_TRUE(std::filesystem::is_fifo(path_));
}

TEST_F(ProfileFileTest, ReadOnlyFileIsNotWritten) {
  WriteBytes(path_, kMixed);
  ASSERT_EQ(0, chmod(path_.c_str(), 0444));
  ExpectFailedWrite([&] { ini_.WriteString("First", "Alpha", "x"); }, kMixed);
  ExpectFailedWrite([&] { ini_.EraseSection("First"); }, kMixed);
  ExpectFailedWrite([&] { ini_.ReplaceSection("First", {{"Alpha", "x"}}); }, kMixed);
}

TEST_F(ProfileFileTest, ReadOnlyFolderIsNotWritten) {
  WriteBytes(path_, kMixed);
  ASSERT_EQ(0, chmod(dir_.Path().c_str(), 0555));
  ExpectFailedWrite([&] { ini_.WriteString("First", "Alpha", "x"); }, kMixed);
  ProfileFile fresh(dir_.File("New.INI"));
  try {
    fresh.WriteString("S", "K", "v");
    ADD_FAILURE() << "the write did not fail";
  } catch (const FileError& error) {
    EXPECT_EQ("Unable to write to " + fresh.Path(), error.what());
  }
  EXPECT_EQ(std::set<std::string>{"Schema.INI"}, FolderEntries());
}

TEST_F(ProfileFileTest, TextThatWouldBreakTheLineIsRefused) {
  WriteBytes(path_, kMixed);
  ExpectFailedWrite([&] { ini_.WriteString("First", "Alpha", "x\r\nForged=1"); }, kMixed);
  ExpectFailedWrite([&] { ini_.WriteString("First", "A=B", "x"); }, kMixed);
  ExpectFailedWrite([&] { ini_.WriteString("First", " ", "x"); }, kMixed);
  ExpectFailedWrite([&] { ini_.WriteString("Fi\nrst", "Alpha", "x"); }, kMixed);
}

TEST_F(ProfileFileTest, RewriteKeepsPermissionsAndSymbolicLinks) {
  std::filesystem::create_directory(dir_.File("shared"));
  const std::string target = dir_.File("shared/SCHEMA.ini");
  WriteBytes(target, "[S]\nK=1\n");
  ASSERT_EQ(0, chmod(target.c_str(), 0640));
  std::filesystem::create_symlink(target, path_);
  ini_.WriteString("S", "K", "2");
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_SAME_BYTES("[S]\nK=2\n", ReadBytes(target));
  struct stat info;
  ASSERT_EQ(0, stat(target.c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
  EXPECT_EQ((std::set<std::string>{"Schema.INI", "shared"}), FolderEntries());
}

}  // namespace
}  // namespace quorlin
