#pragma once
// Binary STL for printing: every stone's closed shell as facets with their
// real outward normals, in millimetres, Z up as the model lies.

#include <filesystem>

struct TExportJob;

void WriteStlFile(TExportJob& job, const std::filesystem::path& path);
