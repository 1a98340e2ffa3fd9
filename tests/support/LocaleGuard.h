#pragma once
// Switches the C library's locale for one test and puts the previous one back at the end, also
// when an assertion leaves the test early.

#include <clocale>
#include <string>

namespace zqar::testing {

class LocaleGuard {
public:
    LocaleGuard() {
        const char *current = std::setlocale(LC_ALL, nullptr);
        saved_ = current ? current : "C";
    }
    ~LocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

    // True when the C library switched to the named locale.
    bool use(const char *name) { return std::setlocale(LC_ALL, name) != nullptr; }

private:
    std::string saved_;
};

} // namespace zqar::testing
