// Running a piece of a test as a user whom file permissions bind.
#pragma once

#include <functional>
#include <string>

namespace quorlin::testing {

// The superuser passes every permission check, so when the tests run as the superuser `work`
// runs in a child process as the user "nobody" (uid and gid 65534), which needs the folders
// on its way to be open to everyone; otherwise it simply runs here. Gives what `work` gave.
std::string RunWithoutPrivileges(const std::function<std::string()>& work);

}  // namespace quorlin::testing
