// What an export leaves on disk when it cannot finish, and which files it refuses to touch.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "export/binary_export_support.h"
#include "export/dbf/xbase_writer.h"
#include "export/export_writers.h"
#include "export/paradox/paradox_writer.h"
#include "export/sql/sql_writer.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::BinaryRequest;
using testing::Field;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Type = ExportFieldType;

constexpr const char* kOldOutput = "the old output";

class WholeOutputs : public ::testing::Test {
 protected:
  ExportRequest Request(ExportFormat format, const std::string& output) {
    ExportRequest request = BinaryRequest(format, dir.File("in.csv"), dir.File(output),
                                          {Field("Name", Type::Char, 20), Field("Born", Type::Date, 8)});
    request.title = "People";
    request.outputSeparator = ",";
    return request;
  }

  std::set<std::string> Files() const { return dir.Names(); }

  // Runs the export in a child process set up by `prepare`; its exit status.
  int ExportInChild(const ExportRequest& request, const std::function<void()>& prepare) {
    const pid_t child = ::fork();
    if (child == 0) {
      prepare();
      const ExportResult result = ExportFile(request);
      ::_exit(result.Exported() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
  }

  TempDir dir;
};

std::string ManyRecords(int count) {
  std::string input;
  for (int i = 0; i < count; ++i) input += "Someone called " + std::to_string(i) + ",03/04/2002\r\n";
  return input;
}

const ExportFormat kFileFormats[] = {ExportFormat::CommaDelimited, ExportFormat::XBase, ExportFormat::Paradox,
                                     ExportFormat::SqlSchema, ExportFormat::Excel};

TEST_F(WholeOutputs, AKilledExportLeavesTheOldOutputAndNothingElse) {
  WriteBytes(dir.File("in.csv"), ManyRecords(20000));
  std::vector<ExportFormat> formats(std::begin(kFileFormats), std::end(kFileFormats));
  formats.push_back(ExportFormat::Parquet);
  for (const ExportFormat format : formats) {
    SCOPED_TRACE(FormatInfo(format).caption);
    WriteBytes(dir.File("out"), kOldOutput);
    ExportRequest request = Request(format, "out");
    request.progress = [](std::int64_t position, std::int64_t) {
      if (position >= 10000) ::raise(SIGKILL);
    };
    const int status = ExportInChild(request, [] {});
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(kOldOutput, ReadBytes(dir.File("out")));
    EXPECT_EQ((std::set<std::string>{"in.csv", "out"}), Files());
  }
}

// A file size limit fails writes as a full disk does.
TEST_F(WholeOutputs, AFullDiskLeavesTheOldOutputAndNothingElse) {
  WriteBytes(dir.File("in.csv"), ManyRecords(40000));
  for (const ExportFormat format : kFileFormats) {
    SCOPED_TRACE(FormatInfo(format).caption);
    WriteBytes(dir.File("out"), kOldOutput);
    const int status = ExportInChild(Request(format, "out"), [] {
      ::signal(SIGXFSZ, SIG_IGN);
      const struct rlimit limit {1 << 16, 1 << 16};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ(kOldOutput, ReadBytes(dir.File("out")));
    EXPECT_EQ((std::set<std::string>{"in.csv", "out"}), Files());
  }
}

TEST_F(WholeOutputs, AFinishedExportReplacesTheOutputKeepingItsModeAndLink) {
  WriteBytes(dir.File("in.csv"), "Ann,03/04/2002\r\n");
  WriteBytes(dir.File("real.csv"), kOldOutput);
  ASSERT_EQ(0, ::chmod(dir.File("real.csv").c_str(), 0640));
  ASSERT_EQ(0, ::symlink("real.csv", dir.File("out.csv").c_str()));
  ASSERT_TRUE(ExportFile(Request(ExportFormat::CommaDelimited, "out.csv")).Exported());
  EXPECT_EQ("Ann,03/04/2002\r\n", ReadBytes(dir.File("real.csv")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("out.csv")));
  struct stat info {};
  ASSERT_EQ(0, ::stat(dir.File("real.csv").c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
  EXPECT_EQ((std::set<std::string>{"in.csv", "out.csv", "real.csv"}), Files());
}

// A folder unpacked from someone else's archive may hold a log linked to a file of the user's.
TEST_F(WholeOutputs, ALogThatIsALinkIsRefusedAndItsTargetKept) {
  WriteBytes(dir.File("in.csv"), "Ann,someday\r\n");
  TempDir home;
  WriteBytes(home.File("authorized_keys"), "ssh-ed25519 AAAA me\n");
  const struct {
    ExportFormat format;
    const char* log;
  } cases[] = {{ExportFormat::SqlSchema, kSqlLogName},
               {ExportFormat::XBase, kXBaseLogName},
               {ExportFormat::Paradox, kParadoxLogName}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    ASSERT_EQ(0, ::symlink(home.File("authorized_keys").c_str(), dir.File(c.log).c_str()));
    const ExportResult result = ExportFile(Request(c.format, "out"));
    EXPECT_EQ(ExportOutcome::Refused, result.outcome);
    EXPECT_EQ(std::vector<std::string>{"Cannot write the log " + dir.File(c.log) + ": it is a symbolic link to " +
                                       home.File("authorized_keys")},
              result.messages);
    EXPECT_EQ("ssh-ed25519 AAAA me\n", ReadBytes(home.File("authorized_keys")));
    EXPECT_EQ((std::set<std::string>{"in.csv", c.log}), Files());
    std::filesystem::remove(dir.File(c.log));
  }
}

TEST_F(WholeOutputs, AnOutputThatIsItsLogOrASchemaFileIsRefusedBeforeAnythingIsCreated) {
  WriteBytes(dir.File("in.csv"), "Ann,someday\r\n");
  WriteBytes(dir.File("Schema.INI"), "[in.csv]\r\n");
  WriteBytes(dir.File("keep.txt"), kOldOutput);
  ASSERT_EQ(0, ::link(dir.File("Schema.INI").c_str(), dir.File("layouts.bak").c_str()));
  ASSERT_EQ(0, ::symlink("Schema.INI", dir.File("layouts.lnk").c_str()));
  TempDir other;
  const struct {
    ExportFormat format;
    std::string output;
    std::string reason;
  } cases[] = {
      {ExportFormat::XBase, dir.File("errorlog.txt"), "it is the log " + dir.File(kXBaseLogName) + " the export writes"},
      {ExportFormat::SqlSchema, dir.File("SQLOGERR.TXT"), "it is the log " + dir.File(kSqlLogName) + " the export writes"},
      {ExportFormat::CommaDelimited, dir.File("schema.ini"), "it would replace the saved layouts of its folder"},
      {ExportFormat::CommaDelimited, other.File("SCHEMA.ini"), "it would replace the saved layouts of its folder"},
      {ExportFormat::CommaDelimited, dir.File("layouts.bak"), "it would replace the saved layouts of its folder"},
      {ExportFormat::CommaDelimited, dir.File("layouts.lnk"), "it would replace the saved layouts of its folder"},
  };
  const std::set<std::string> before = Files();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    ExportRequest request = Request(c.format, "unused");
    request.outputPath = c.output;
    const ExportResult result = ExportFile(request);
    EXPECT_EQ(ExportOutcome::Refused, result.outcome);
    EXPECT_EQ(std::vector<std::string>{"Cannot export into " + c.output + ": " + c.reason}, result.messages);
  }
  EXPECT_EQ(before, Files());
  EXPECT_TRUE(std::filesystem::is_empty(other.Path()));
  EXPECT_EQ("[in.csv]\r\n", ReadBytes(dir.File("Schema.INI")));
}

}  // namespace
}  // namespace quorlin
