#pragma once

#include <functional>
#include <string>

// Permission bits do not stop root, and CI runs the suite as root: these run a check as a user
// without write permission to the test's files (uid and gid 65534, "nobody"). POSIX only.
namespace Unprivileged {

inline constexpr unsigned Id = 65534;

// Drops this process to Id when it runs as root; false when that fails. For a child process
// only (a fork, or QProcess's child process modifier): there is no way back.
bool DropRoot();

// What body returns, run as a user other than the files' owner: as root in a child process that
// dropped to Id (gtest's checks would be lost there, so body reports in its result); otherwise
// here, where permission bits apply. An exception in body becomes "exception: <what>".
std::string Run(const std::function<std::string()>& body);

} // namespace Unprivileged
