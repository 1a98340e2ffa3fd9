#pragma once
// Where a file dialog may look. The kernel's own file systems (processes, devices, kernel
// objects) hold "files" that are views of the running system: reading one can block for good
// (the kernel log waits for its next line) or have effects, so a dialog neither starts there
// nor inspects what their files hold.

#include <string>

namespace zqar::platform {

// True when path, or the nearest folder above it that exists, lies on such a file system:
// under /proc, /sys or /dev, or on a file system of one of the kernel's pseudo types
// (a mount of proc or sysfs elsewhere included).
bool isPseudoFileSystem(const std::string &path);

// The folder a file dialog starts in: requested, unless that is empty or on a pseudo file
// system; then fallback.
std::string dialogStartFolder(const std::string &requested, const std::string &fallback);

// The path with its folder, made absolute and without "." and "..", as a status line and the
// recent files name a file; the path as it is when that cannot be done.
std::string absolutePath(const std::string &path);

} // namespace zqar::platform
