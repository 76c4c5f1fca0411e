#include "platform/program_folder.h"

#include <system_error>

namespace {
std::filesystem::path& Folder() {
    static std::filesystem::path folder = [] {
        std::error_code error;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::filesystem::current_path() : exe.parent_path();
    }();
    return folder;
}
} // namespace

std::filesystem::path ProgramFolder() {
    return Folder();
}

void SetProgramFolder(const std::filesystem::path& folder) {
    Folder() = folder;
}
