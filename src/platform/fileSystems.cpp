#include "platform/fileSystems.h"

#ifndef _WIN32
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace zqar::platform {

namespace {

// The folders the kernel's file systems are mounted on by convention.
constexpr std::array<std::string_view, 3> PSEUDO_FOLDERS = {"/proc", "/sys", "/dev"};

// statfs f_type of the kernel's pseudo file systems (the values of <linux/magic.h>). devtmpfs
// reports the tmpfs type, which is also that of ordinary temp folders, so /dev is known by its
// path only.
constexpr std::array<unsigned long, 17> PSEUDO_TYPES = {
    0x9fa0,     // proc
    0x62656572, // sysfs
    0x1cd1,     // devpts
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x27e0eb,   // cgroup
    0x63677270, // cgroup2
    0x73636673, // securityfs
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x65735543, // fusectl
    0x42494e4d, // binfmt_misc
    0xde5e81e4, // efivarfs
    0x19800202, // mqueue
    0xf97cff8c, // selinuxfs
    0x958458f6, // hugetlbfs
};

bool underPseudoFolder(const std::filesystem::path &path) {
    const std::string text = path.lexically_normal().generic_string();
    return std::any_of(PSEUDO_FOLDERS.begin(), PSEUDO_FOLDERS.end(), [&](std::string_view folder) {
        return text.compare(0, folder.size(), folder) == 0 &&
               (text.size() == folder.size() || text[folder.size()] == '/');
    });
}

#ifdef _WIN32
// Windows mounts no kernel file systems among the user's files.
bool onPseudoType(const std::filesystem::path &) { return false; }
#else
bool onPseudoType(std::filesystem::path path) {
    // A path that does not exist (yet) is judged by the folder it would be made in.
    for (;;) {
        struct statfs info {};
        if (statfs(path.c_str(), &info) == 0) {
            const auto type = static_cast<unsigned long>(info.f_type);
            return std::find(PSEUDO_TYPES.begin(), PSEUDO_TYPES.end(), type) != PSEUDO_TYPES.end();
        }
        if (!path.has_relative_path())
            return false;
        path = path.parent_path();
    }
}
#endif

} // namespace

bool isPseudoFileSystem(const std::string &path) {
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return false;
    if (underPseudoFolder(absolute))
        return true;
    // A link elsewhere into /proc (such as /dev/fd) is judged by where it leads.
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    if (!error && underPseudoFolder(resolved))
        return true;
    return onPseudoType(error ? absolute : resolved);
}

std::string dialogStartFolder(const std::string &requested, const std::string &fallback) {
    return requested.empty() || isPseudoFileSystem(requested) ? fallback : requested;
}

std::string absolutePath(const std::string &path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace zqar::platform
