#pragma once
// The pictures a part shows on its faces, as exports take them: only a plain
// picture name of the part library (no folder, no "..", no hidden file, a
// picture's extension) whose file holds a picture. A part file from anywhere
// may name any path; an export never reaches outside the library for it.

#include <filesystem>
#include <optional>
#include <string>

#include "export/model_export.h"

// Whether the name is a plain picture name: "sign.png", not "../x.png",
// "/etc/x.png", "sub/x.png" or ".x.png".
bool IsPlainPictureName(const std::string& name);

// The file of the picture the part names, when its name is plain and the
// finder finds a file that holds a picture; nothing otherwise.
std::optional<std::filesystem::path> PartPictureFile(const std::string& name, const TPictureFinder& find);
