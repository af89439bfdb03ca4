#pragma once
// The process's open-file limit, raised so the server can hold many connections at once.

namespace chimewell {

// Raises the soft limit of open files to the hard limit (desktop sessions start at 1,024).
// Returns the soft limit now in force.
long RaiseOpenFileLimit();

}  // namespace chimewell
