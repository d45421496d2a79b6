// Checking handles before they are used.
#include "odbc/driver/handles.h"

namespace quorlin::driver {

Connection::~Connection() { tag = HandleTag::Freed; }

void Statement::CloseCursor() {
  cursor.reset();
  onRow = false;
  rowsFetched = 0;
  piece.Start(0);
  if (!prepared) described.clear();
}

Environment* AsEnvironment(SQLHANDLE handle) {
  auto* environment = static_cast<Environment*>(handle);
  return environment != nullptr && environment->tag == HandleTag::Environment ? environment : nullptr;
}

Connection* AsConnection(SQLHANDLE handle) {
  auto* connection = static_cast<Connection*>(handle);
  return connection != nullptr && connection->tag == HandleTag::Connection ? connection : nullptr;
}

}  // namespace quorlin::driver
