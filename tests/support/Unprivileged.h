#pragma once

#include <functional>
#include <string>

// Runs body as a user without write permission to the test's files. Permission bits do not stop
// root, and CI runs as root: then body runs in a child process that dropped to uid and gid 65534
// ("nobody"): it must report in its result (gtest's checks would be lost there) and not throw.
// POSIX only.
std::string RunUnprivileged(const std::function<std::string()>& body);
