#pragma once
// What every harness needs: a program folder of its own holding a copy of the
// shipped part library, made once when the fuzzer starts, and the bytes of an
// input as text lines or as a file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/text_file.h"

// The harness's program folder (made on first use); the program folder of
// the process points at it.
const std::filesystem::path& FuzzProgramFolder();

inline std::string_view TextOf(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Writes the bytes to a file in the harness's folder and returns its path.
std::filesystem::path WriteFuzzFile(const std::string& name, std::string_view bytes);

// Stops the run with a finding when a property does not hold.
void Require(bool holds, const char* what);
