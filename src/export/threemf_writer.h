#pragma once
// 3MF for printing in colour: one object per colour holding the shells of its
// stones in one mesh, the colour as the object's base material (see-through
// stones at half opacity, as an object of their own), millimetres, Z up. The
// package is a zip file holding [Content_Types].xml, _rels/.rels and
// 3D/3dmodel.model.

#include <filesystem>

struct TExportJob;

void Write3mfFile(TExportJob& job, const std::filesystem::path& path);
