// Permission checks that root would pass through: run them as an ordinary user instead, in a
// child process, so that they run on every machine, CI (which runs as root) included.
#pragma once

#include <functional>

namespace vorlane::test {

// Runs `check` in a child process whose user and group are "nobody" (65534) when this process
// is root, or in this process otherwise, and returns what it returned. A child that cannot drop
// its privileges, or that dies, counts as false. Files the check reads must be reachable by
// that user (a TempDir is made 0700: widen it first).
bool asUnprivilegedUser(const std::function<bool()>& check);

}  // namespace vorlane::test
