#pragma once
// Wavefront OBJ with its material library (.mtl) beside it: one object per
// stone named by its label, one material per colour (see-through stones get
// their own at half opacity, pictured faces one with the picture as its
// texture, copied into the folder NAME_textures beside the file).
// Millimetres, Y up (see file_axes.h). The library and the folder replace
// only what an earlier export made, and are written before the OBJ file.

#include <filesystem>

struct TExportJob;

void WriteObjFile(TExportJob& job, const std::filesystem::path& path);
