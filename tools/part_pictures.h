#pragma once
// The pictures laid onto the faces of the shipped parts, drawn here and
// written as PNG files beside the part library.

#include <filesystem>

// Draws every part picture and writes it into the folder. Needs a running
// QGuiApplication for the fonts.
void WritePartPictures(const std::filesystem::path& folder);
