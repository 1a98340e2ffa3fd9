#include "core/data/AtomicFileWriter.h"

#include "core/data/systemCalls.h"

#include <cerrno>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zqar {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t BUFFER_BYTES = 1 << 16;
constexpr mode_t NEW_FILE_MODE = 0666; // less the umask, as any new file
#ifdef _WIN32
// Bytes as they are (no line-end translation), and not handed to child processes. Windows
// flushes a file to disk only through a handle that may write to it.
constexpr int OPEN_FLAGS = O_BINARY | O_NOINHERIT;
constexpr int SYNC_ACCESS = O_WRONLY;
#else
constexpr int OPEN_FLAGS = O_CLOEXEC;
constexpr int SYNC_ACCESS = O_RDONLY;
#endif

// Creates a temp file of a new name beside target; the descriptor, or -1.
int createTemporary(const fs::path &target, std::string &name) {
    static std::mt19937 generator{std::random_device{}()};
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder / ("." + target.filename().string() + "." +
                                             std::to_string(generator()) + ".tmp");
        const int descriptor = ::open(candidate.string().c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | OPEN_FLAGS, NEW_FILE_MODE);
        if (descriptor >= 0) {
            name = candidate.string();
            return descriptor;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool syncFile(const std::string &path) {
    const int descriptor = ::open(path.c_str(), SYNC_ACCESS | OPEN_FLAGS);
    if (descriptor < 0)
        return false;
    const bool synced = syncDescriptor(descriptor);
    return ::close(descriptor) == 0 && synced;
}

// Best effort: not every file system lets a folder be opened and synced.
void syncFolder([[maybe_unused]] const fs::path &folder) {
#ifndef _WIN32
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    syncDescriptor(descriptor);
    ::close(descriptor);
#endif
}

// Puts a finished temp file in the place of target: gives it the permission bits of the file it
// replaces, syncs it to disk, renames it over target and syncs the folder. False when the sync
// or the rename failed; the temp file is then still there and target as it was.
bool replaceFileWith(const std::string &temporary, const std::string &target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::chmod(temporary.c_str(), old.st_mode & 07777) != 0)
        return false;
    if (!syncFile(temporary))
        return false;
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error)
        return false;
    syncFolder(fs::path(target).parent_path());
    return true;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target(std::move(targetPath)) {
    std::error_code error;
    const fs::path path(target);
    if (target.empty() || fs::is_directory(path, error))
        return;
    if (fs::exists(path, error)) {
        // Opening for appending changes nothing but fails where writing in place would.
        const int probe = ::open(target.c_str(), O_WRONLY | O_APPEND | OPEN_FLAGS);
        if (probe < 0)
            return;
        ::close(probe);
    }
    descriptor = createTemporary(path, temporary);
    if (descriptor < 0)
        temporary.clear();
}

AtomicFileWriter::~AtomicFileWriter() {
    closeDescriptor();
    if (!committed && !temporary.empty()) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
}

void AtomicFileWriter::closeDescriptor() {
    if (descriptor >= 0 && ::close(descriptor) != 0)
        failed = true;
    descriptor = -1;
}

bool AtomicFileWriter::flushBuffer() {
    std::size_t at = 0;
    while (!failed && at < buffer.size()) {
        const ssize_t written = ::write(descriptor, buffer.data() + at, buffer.size() - at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            failed = true;
        else
            at += static_cast<std::size_t>(written);
    }
    buffer.clear();
    return !failed;
}

void AtomicFileWriter::write(std::string_view bytes) {
    // Bytes after a failure, or after the path was handed out, would go missing unnoticed.
    if (descriptor < 0)
        failed = true;
    if (failed)
        return;
    streamed = true;
    buffer.append(bytes);
    if (buffer.size() >= BUFFER_BYTES)
        flushBuffer();
}

const std::string &AtomicFileWriter::writtenByName() {
    // The library would write over what was streamed before.
    if (streamed)
        failed = true;
    closeDescriptor();
    return temporary;
}

bool AtomicFileWriter::commit() {
    if (committed || temporary.empty())
        return committed;
    if (descriptor >= 0)
        flushBuffer();
    closeDescriptor();
    if (failed || !replaceFileWith(temporary, target))
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
