#include "platform/file_version.h"

namespace quorlin {

std::string FileVersionText() { return QUORLIN_VERSION; }

}  // namespace quorlin
