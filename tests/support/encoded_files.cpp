#include "support/encoded_files.h"

#include "support/run_command.h"
#include "support/test_files.h"

namespace quorlin::testing {

std::string WriteEncodedFile(const std::string& path, const std::string& text, const std::string& codec) {
  TempDir dir;
  WriteBytes(dir.File("text.txt"), text);
  WriteBytes(dir.File("encode.py"),
             "import codecs, sys\n"
             "text = open(sys.argv[1], encoding='utf-8', newline='').read()\n"
             "with codecs.open(sys.argv[2], 'w', encoding=sys.argv[3]) as out:\n"
             "    out.write(text)\n");
  const CommandResult result = RunCommand("/usr/bin/python3 " + dir.File("encode.py") + " '" +
                                          dir.File("text.txt") + "' '" + path + "' '" + codec + "' 2>&1");
  return result.exitCode == 0 ? std::string() : result.out;
}

}  // namespace quorlin::testing
