#pragma once
// The model as a self-contained LDraw multi-part file (.mpd): a main model of
// one line per stone, then every distinct stone shape once as an inline
// subfile of triangles and edge lines. LDraw has y pointing down, so a model
// point (x, y, z) becomes (x, -z, -y); 20 units of ours are 20 LDraw units
// in every direction. Colours are LDraw's direct colours (0x2RRGGBB, and
// 0x3RRGGBB for see-through stones) on the triangles and edges of a subfile
// per shape and colour: LeoCAD shows those without the LDraw parts library,
// while it draws direct colours on a stone's line, and colours a file
// defines with !COLOUR, grey.

#include <filesystem>

struct TExportJob;

// Writes the job's stones into the file, atomically, with the shapes the job
// has built. Raises EError when a stone's shape cannot be built or the file
// cannot be written; the old file then stays as it was.
void WriteLdrawFile(TExportJob& job, const std::filesystem::path& file);
