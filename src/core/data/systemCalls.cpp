#include "core/data/systemCalls.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <langinfo.h>
#include <pwd.h>
#include <unistd.h>
#endif

namespace zqar {

namespace {

std::string environmentValue(const char *name) {
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

#ifdef _WIN32

constexpr const char *SCRATCH_PLACEHOLDER = "XXXXXX";
constexpr int SCRATCH_ATTEMPTS = 100;

bool toLocalTime(std::time_t seconds, std::tm &local) { return localtime_s(&local, &seconds) == 0; }

std::string makeScratchFolder(const std::string &pattern) {
    const std::size_t placeholder = pattern.rfind(SCRATCH_PLACEHOLDER);
    if (placeholder == std::string::npos || placeholder + 6 != pattern.size())
        return std::string();
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < SCRATCH_ATTEMPTS; ++attempt) {
        std::string candidate = pattern;
        for (std::size_t i = placeholder; i < candidate.size(); ++i)
            candidate[i] = letters[pick(generator)];
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
            return candidate;
        if (error)
            return std::string();
    }
    return std::string();
}

std::string localeDateFormat() {
    // LOCALE_IDATE: 0 month first, 1 day first, 2 year first.
    char order[4] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order) > 0) {
        if (order[0] == '1')
            return "%d/%m/%Y";
        if (order[0] == '2')
            return "%Y/%m/%d";
    }
    return "%m/%d/%Y";
}

std::string loginName() { return environmentValue("USERNAME"); }

bool syncDescriptor(int descriptor) { return _commit(descriptor) == 0; }

// The C++ library's own copy refuses to replace a file here: Windows gives every file the same
// inode number, so the library takes any target for the source itself.
bool copyFileOver(const std::string &source, const std::string &target) {
    const std::filesystem::path from(source);
    const std::filesystem::path to(target);
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

#else

constexpr std::size_t FALLBACK_ENTRY_BYTES = 16384;

bool toLocalTime(std::time_t seconds, std::tm &local) {
    return localtime_r(&seconds, &local) != nullptr;
}

std::string makeScratchFolder(const std::string &pattern) {
    std::string path = pattern;
    return mkdtemp(path.data()) ? path : std::string();
}

std::string localeDateFormat() {
    const char *format = nl_langinfo(D_FMT);
    return format ? std::string(format) : std::string();
}

std::string loginName() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested)
                                           : FALLBACK_ENTRY_BYTES);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    for (const char *variable : {"USER", "LOGNAME"})
        if (std::string value = environmentValue(variable); !value.empty())
            return value;
    return std::string();
}

bool syncDescriptor(int descriptor) { return ::fsync(descriptor) == 0; }

bool copyFileOver(const std::string &source, const std::string &target) {
    std::error_code error;
    return std::filesystem::copy_file(source, target,
                                      std::filesystem::copy_options::overwrite_existing, error);
}

#endif

} // namespace zqar
