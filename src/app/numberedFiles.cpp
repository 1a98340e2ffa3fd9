#include "app/numberedFiles.h"

#include "core/analysis/SetList.h"

namespace zqar {

namespace {
constexpr const char *SET_NUMBER = "%d";
constexpr std::size_t SET_NUMBER_LENGTH = 2;
} // namespace

bool namesEverySet(const std::string &pattern) {
    return pattern.find(SET_NUMBER) != std::string::npos;
}

std::string numberedName(const std::string &pattern, int number) {
    const std::size_t at = pattern.find(SET_NUMBER);
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + std::to_string(number) + pattern.substr(at + SET_NUMBER_LENGTH);
}

void exportEverySet(SetList &sets, const std::string &pattern,
                    const std::function<bool(const std::string &file)> &writeSet,
                    const KeepGoing &keepGoing) {
    if (!namesEverySet(pattern)) {
        writeSet(pattern);
        return;
    }
    const int current = sets.currentSet;
    for (int i = 0; i < sets.count(); ++i) {
        sets.currentSet = i;
        if (!writeSet(numberedName(pattern, i + 1)) ||
            !askKeepGoing(keepGoing, static_cast<std::uint64_t>(i) + 1,
                          static_cast<std::uint64_t>(sets.count())))
            break;
    }
    sets.currentSet = current;
}

} // namespace zqar
