#include "partlib/part_registry.h"

#include <new>

#include "common/error.h"
#include "partlib/part_file.h"

TPartRegistry& TPartRegistry::Instance() {
    static TPartRegistry registry;
    return registry;
}

TDrawClass* TPartRegistry::FindPart(const std::string& file, const std::string& part) {
    std::string key = Key(file, part);
    auto it = FParts.find(key);
    if (it != FParts.end())
        return it->second.get();
    try {
        auto definition = std::make_unique<TDrawClass>();
        const TPartSource source = TPartReader::Load(*definition, file, part);
        const int64_t bytes = definition->ShapeBytes();
        if (FShapeBytes + bytes > FShapeLimit)
            throw EError(StrFormat("Part %s in file %s is not loaded: the parts in use would take more than "
                                   "%lld MB",
                                   part.c_str(), file.c_str(), static_cast<long long>(FShapeLimit >> 20)));
        int64_t& fromFile = FShapeBytesByFile[source.Path];
        if (fromFile + bytes > kMaxShapeBytesPerFileByte * source.Bytes)
            throw EError(StrFormat("Part %s in file %s is not loaded: the parts read from %s would take more "
                                   "than %lld times its size",
                                   part.c_str(), file.c_str(), source.Path.filename().string().c_str(),
                                   static_cast<long long>(kMaxShapeBytesPerFileByte)));
        TDrawClass* result = definition.get();
        FParts.emplace(std::move(key), std::move(definition));
        FShapeBytes += bytes;
        fromFile += bytes;
        return result;
    } catch (const std::bad_alloc&) {
        throw EError(
            StrFormat("There is not enough memory to load part %s from file %s", part.c_str(), file.c_str()));
    }
}

bool TPartRegistry::Register(std::unique_ptr<TDrawClass>& definition) {
    if (!definition)
        return false;
    std::string key = Key(definition->FileName, definition->PartName);
    if (FParts.contains(key))
        return false;
    FShapeBytes += definition->ShapeBytes();
    FParts.emplace(std::move(key), std::move(definition));
    return true;
}

bool TPartRegistry::HoldsPartName(const std::string& part) const {
    for (const auto& [key, definition] : FParts)
        if (SameText(definition->PartName, part))
            return true;
    return false;
}

void TPartRegistry::SaveModifiedParts() {
    std::string failures;
    for (auto& [key, definition] : FParts) {
        if (!definition->Modified)
            continue;
        try {
            auto path = SinglePartFile(definition->PartName);
            if (!path)
                throw EError(StrFormat("Cannot save part \"%s\": the name cannot be a file name",
                                       definition->PartName.c_str()));
            if (path->empty())
                throw EError(StrFormat("Cannot save part \"%s\": there is no folder for your own files",
                                       definition->PartName.c_str()));
            std::error_code ignored;
            std::filesystem::create_directories(path->parent_path(), ignored);
            TStringList lines;
            TDrawClass copy(*definition);
            WritePart(copy, lines);
            SaveLines(*path, lines);
            definition->Modified = false;
        } catch (const EError& e) {
            if (!failures.empty())
                failures += "\n";
            failures += e.Message();
        }
    }
    if (!failures.empty())
        throw EError(failures);
}
