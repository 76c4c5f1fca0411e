#pragma once
// The process-wide registry of part definitions, keyed "file:part" without
// regard to letter case. It owns every definition until it is cleared at exit;
// stones refer to definitions without owning them.

#include <map>
#include <memory>
#include <string>

#include "common/strings.h"
#include "partlib/draw_class.h"

class TPartRegistry {
public:
    static TPartRegistry& Instance();

    static std::string Key(const std::string& file, const std::string& part) { return file + ":" + part; }

    // The registered definition; on a miss it is loaded from the part library
    // and registered. Load errors propagate and nothing is registered.
    TDrawClass* FindPart(const std::string& file, const std::string& part);
    // Takes the definition under its key unless the key is present already, in
    // which case nothing happens and the caller keeps it. Returns whether it was taken.
    bool Register(std::unique_ptr<TDrawClass>& definition);
    // Writes every modified definition alone to parts/PART.bcp. Every definition
    // is tried; a failure is raised after the others were written.
    void SaveModifiedParts();
    int Count() const { return static_cast<int>(FParts.size()); }
    // Frees every definition (stones that refer to them must be gone).
    void Clear() { FParts.clear(); }

private:
    std::map<std::string, std::unique_ptr<TDrawClass>, TextLess> FParts;
};

inline TDrawClass* FindPart(const std::string& file, const std::string& part) {
    return TPartRegistry::Instance().FindPart(file, part);
}
