#pragma once
// One part of a zip package (a 3MF file), read whole.

#include <filesystem>
#include <string>

// The part of that name, or "" when the package has none.
std::string ZipPart(const std::filesystem::path& package, const char* name);
