#pragma once
// Writes a file so that a failure never leaves a half-written target: the bytes go to a temp
// file beside the target, which replaces the target only when every write and the close
// worked. A target that exists but cannot be opened for writing (read-only, say) is refused
// before anything is written, as opening it in place would have been.
//
// The temp file reaches the disk before the rename, and the folder after it (as far as the
// system lets a folder be synced), so a crash leaves the old file or the whole new one. A new
// file that replaces one takes over the old file's permission bits.

#include <string>
#include <string_view>

namespace zqar {

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter(); // removes the temp file unless commit succeeded
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    // False when the target cannot be written or the temp file cannot be made.
    bool isOpen() const { return descriptor >= 0; }
    void write(std::string_view bytes);
    // Writes what is left, syncs and closes the temp file and renames it over the target.
    // False on any failure since opening; the target is then as it was.
    bool commit();

private:
    bool flushBuffer();
    void closeDescriptor();

    std::string target;
    std::string temporary;
    std::string buffer; // bytes not yet handed to the system
    int descriptor = -1;
    bool failed = false;
    bool committed = false;
};

// The whole text into path, by way of AtomicFileWriter.
bool writeFileAtomically(const std::string &path, std::string_view bytes);

// Puts a finished temp file in the place of target: gives it the permission bits of the file it
// replaces, syncs it to disk, renames it over target and syncs the folder. False when the sync
// or the rename failed; the temp file is then still there and target as it was.
bool replaceFileWith(const std::string &temporary, const std::string &target);

} // namespace zqar
