#include "cli/json_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/plain_table.h"

namespace quorlin {
namespace {

TEST(JsonText, KeepsUtf8AndMapsOtherBytesToLatin1) {
  EXPECT_EQ("caf\xc3\xa9", JsonText("caf\xc3\xa9"));
  // One invalid byte turns the whole text to Latin-1, so the valid pair is mapped too.
  EXPECT_EQ("caf\xc3\xa9 \xc3\x83\xc2\xa9", JsonText("caf\xe9 \xc3\xa9"));
  EXPECT_EQ("\xc3\xbf\xc2\x80", JsonText("\xff\x80"));
  EXPECT_NO_THROW(nlohmann::ordered_json(JsonText("\xff\xfe")).dump());
}

// Written piece by piece, texts and fields come out exactly as their JSON values dump.
TEST(WriteJsonString, WritesWhatTheJsonValueDumps) {
  for (const std::string& bytes : {std::string("plain"), std::string("q\"b\\s/\b\f\n\r\t\x01\x1f\x7f"),
                                   std::string("caf\xc3\xa9"), std::string("caf\xe9\x80", 5),
                                   std::string("a\0b", 3)}) {
    std::ostringstream written;
    WriteJsonString(written, bytes);
    EXPECT_EQ(nlohmann::ordered_json(JsonText(bytes)).dump(), written.str());
  }
  FieldSpec field{"Placed", "Date", "0", "dd/MM/\"yy"};
  std::ostringstream written;
  WriteFieldJson(written, field);
  EXPECT_EQ(FieldJson(field).dump(), written.str());
}

TEST(FieldJson, WritesFormatOnlyWhenTheFieldHasOne) {
  FieldSpec field;
  field.name = "Placed";
  field.typeName = "Date";
  EXPECT_EQ(R"({"name":"Placed","type":"Date","width":0})", FieldJson(field).dump());
  field.format = "dd/MM/yyyy";
  EXPECT_EQ(R"({"name":"Placed","type":"Date","width":0,"format":"dd/MM/yyyy"})",
            FieldJson(field).dump());
}

TEST(AlignedTable, PadsByShownCharactersAndLeavesLastCellUnpadded) {
  EXPECT_EQ("1     2\ncaf\xc3\xa9  x\nab    longer\n",
            AlignedTable({{"1", "2"}, {"caf\xc3\xa9", "x"}, {"ab", "longer"}}));
}

}  // namespace
}  // namespace quorlin
