#pragma once
// Writes a file so that a failure never leaves a half-written target: the bytes go to a temp
// file beside the target, which replaces the target only when every write and the close
// worked. A target that exists but cannot be opened for writing (read-only, say) is refused
// before anything is written, as opening it in place would have been.

#include <fstream>
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
    bool isOpen() const { return opened; }
    void write(std::string_view bytes);
    // Closes the temp file and renames it over the target. False on any failure since
    // opening; the target is then as it was.
    bool commit();

private:
    std::string target;
    std::string temporary;
    std::ofstream stream;
    bool opened = false;
    bool committed = false;
};

// The whole text into path, by way of AtomicFileWriter.
bool writeFileAtomically(const std::string &path, std::string_view bytes);

} // namespace zqar
