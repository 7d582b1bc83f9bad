#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace render {

namespace fs = std::filesystem;

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    const fs::path path(target_);
    std::error_code error;
    if (fs::is_directory(path, error)) throw std::runtime_error("cannot write '" + target_ + "': it is a directory");
    const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(directory, error))
        throw std::runtime_error("cannot write '" + target_ + "': directory '" + directory.string() + "' does not exist");
    const std::string name = "." + path.stem().string() + ".partial-" + std::to_string(getpid()) +
                             path.extension().string();
    temporary_ = (directory / name).string();
}

OutputFile::~OutputFile() {
    if (!committed_) std::remove(temporary_.c_str());
}

void OutputFile::commit() {
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw std::runtime_error("cannot write '" + target_ + "': " + std::strerror(errno));
    committed_ = true;
}

}  // namespace render
