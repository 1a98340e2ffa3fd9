#include "data/AtomicFileWriter.h"

#include <filesystem>
#include <random>

namespace zqar {

namespace fs = std::filesystem;

namespace {

std::string temporaryName(const fs::path &target) {
    static std::mt19937 generator{std::random_device{}()};
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder / ("." + target.filename().string() + "." +
                                             std::to_string(generator()) + ".tmp");
        std::error_code error;
        if (!fs::exists(candidate, error) && !error)
            return candidate.string();
    }
    return std::string();
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target(std::move(targetPath)) {
    std::error_code error;
    const fs::path path(target);
    if (target.empty() || fs::is_directory(path, error))
        return;
    if (fs::exists(path, error)) {
        // Opening for appending changes nothing but fails where writing in place would.
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe)
            return;
    }
    temporary = temporaryName(path);
    if (temporary.empty())
        return;
    stream.open(temporary, std::ios::binary | std::ios::trunc);
    opened = static_cast<bool>(stream);
    if (!opened)
        temporary.clear();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (stream.is_open())
        stream.close();
    if (!committed && !temporary.empty()) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (opened)
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool AtomicFileWriter::commit() {
    if (!opened || committed)
        return committed;
    stream.flush();
    const bool written = static_cast<bool>(stream);
    stream.close();
    if (!written || stream.fail())
        return false;
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error)
        return false;
    committed = true;
    return true;
}

bool writeFileAtomically(const std::string &path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return false;
    writer.write(bytes);
    return writer.commit();
}

} // namespace zqar
