#include "extras/update_source.h"

namespace quorlin {

UpdateSource BuiltInUpdateSource() {
  return {QUORLIN_UPDATE_SERVER, QUORLIN_UPDATE_FOLDER, QUORLIN_UPDATE_FILE};
}

}  // namespace quorlin
