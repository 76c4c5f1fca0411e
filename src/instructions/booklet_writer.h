#pragma once
// Writing a booklet's pages: each page's boxes, texts and pictures handed to
// a page output (a PDF, a web page, a picture of one page), the pictures
// drawn as the pages need them.

#include <functional>
#include <vector>

#include "instructions/booklet_layout.h"

class TBookletPictures;
class TPageOutput;

// Told after every page; returning false stops the work.
using TBookletProgress = std::function<bool(int pagesDone, int pages)>;

// Draws one page, beginning it on the output.
void DrawBookletPage(const TBookletPage& page, TBookletPictures& pictures, TPageOutput& output);

// Draws every page and finishes the output. Returns false, leaving the output
// unfinished, when the progress asked to stop.
bool WriteBooklet(const std::vector<TBookletPage>& pages, TBookletPictures& pictures, TPageOutput& output,
                  const TBookletProgress& progress = nullptr);
