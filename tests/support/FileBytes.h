#pragma once
// The whole of a file as bytes, for tests that compare what a command wrote; empty when the
// file cannot be read.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zqar::testing {

inline std::string fileBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace zqar::testing
