#pragma once
// Writes a file so that a failure never leaves a half-written target: the bytes go to a temp
// file beside the target, which replaces the target only when every write and the close
// worked. A target that exists but cannot be opened for writing (read-only, say) is refused
// before anything is written, as opening it in place would have been.
//
// The temp file reaches the disk before the rename, and the folder after it (as far as the
// system lets a folder be synced), so a crash leaves the old file or the whole new one. A new
// file that replaces one takes over the old file's permission bits.
//
// Every file the program writes goes through here: the bytes a caller streams (reports, CSV,
// projects), and files another library writes by name (images, PDF documents, copies), which
// take the temp file's path from writtenByName() and leave the rest to commit().

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
    bool isOpen() const { return !temporary.empty() && !failed && !committed; }
    void write(std::string_view bytes);
    // The temp file's path, for a library that writes a file by name; it is empty until then.
    // Ask before writing anything else; nothing can be written through write() afterwards.
    const std::string &writtenByName();
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
    bool streamed = false; // write() has been called
    bool failed = false;
    bool committed = false;
};

// The whole text into path, by way of AtomicFileWriter.
bool writeFileAtomically(const std::string &path, std::string_view bytes);

} // namespace zqar
