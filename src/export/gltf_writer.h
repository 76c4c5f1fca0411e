#pragma once
// The model as a binary glTF 2.0 file (.glb), the format most 3D programs and
// web viewers read. Every distinct stone shape is stored once and placed by
// one node per stone; glTF has Y up (see file_axes.h) and metres, and a grid
// module (20 units) becomes moduleMillimetres millimetres. Each colour is a PBR material (see-through stones
// blend at half opacity); part pictures are embedded and laid onto their faces.

#include <filesystem>

struct TExportJob;

// Writes the job's stones into the file, atomically, with the shapes the job
// has built. Raises EError when a stone's shape cannot be built or the file
// cannot be written; the old file then stays as it was.
void WriteGltfFile(TExportJob& job, const std::filesystem::path& file);
