#include "zip_part.h"

#include <minizip/unzip.h>

std::string ZipPart(const std::filesystem::path& package, const char* name) {
    unzFile zip = unzOpen64(package.c_str());
    if (zip == nullptr)
        return {};
    std::string text;
    if (unzLocateFile(zip, name, 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[65536];
        for (int n; (n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(n));
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return text;
}
