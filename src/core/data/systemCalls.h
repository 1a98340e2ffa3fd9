#pragma once

// The few calls the operating systems name differently: local time, scratch folders, the
// locale's date format, the logged-in user and syncing a file to disk. Everything else in core
// is plain C++.

#include <ctime>
#include <string>

namespace zqar {

// The local calendar time of a system time; false when the system cannot convert it.
bool toLocalTime(std::time_t seconds, std::tm &local);

// Makes a new folder of a name no other has, from pattern (a path ending in "XXXXXX", which
// becomes random characters); its path, or an empty string when none could be made.
std::string makeScratchFolder(const std::string &pattern);

// The user's short date format in strftime's notation ("%d/%m/%Y").
std::string localeDateFormat();

// The name the operating system knows the user by; empty when it knows none.
std::string loginName();

// Writes what the file descriptor holds through to the disk; false when that failed.
bool syncDescriptor(int descriptor);

// Copies the file source onto target, replacing a file there; false when that failed.
bool copyFileOver(const std::string &source, const std::string &target);

} // namespace zqar
