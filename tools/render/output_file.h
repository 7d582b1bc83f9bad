// A file that appears complete or not at all: it is written under a
// temporary name next to its target and renamed onto the target only when
// the work succeeded. If the work fails, or the program is stopped, the
// temporary file is removed and the target is left as it was.
#pragma once

#include <string>

namespace render {

class OutputFile {
public:
    // Throws std::runtime_error when the target is a directory or its
    // directory does not exist.
    explicit OutputFile(std::string target);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& target() const noexcept { return target_; }
    // Where to write: ".<name>.partial-<pid><extension>" in the target's
    // directory, so that the rename stays on one file system.
    const std::string& temporaryPath() const noexcept { return temporary_; }

    // Renames the finished file onto the target; throws std::runtime_error.
    void commit();

private:
    std::string target_;
    std::string temporary_;
    bool committed_ = false;
};

}  // namespace render
