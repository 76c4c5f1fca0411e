#pragma once
// The program folder: the folder of the executable, where parts/, Models/,
// Render/ and the settings file live. Tests point it at a temporary copy.

#include <filesystem>

std::filesystem::path ProgramFolder();
void SetProgramFolder(const std::filesystem::path& folder);
