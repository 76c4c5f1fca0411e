#include "partlib/part_registry.h"

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
    auto definition = std::make_unique<TDrawClass>();
    TPartReader::Load(*definition, file, part);
    TDrawClass* result = definition.get();
    FParts.emplace(std::move(key), std::move(definition));
    return result;
}

bool TPartRegistry::Register(std::unique_ptr<TDrawClass>& definition) {
    if (!definition)
        return false;
    std::string key = Key(definition->FileName, definition->PartName);
    if (FParts.contains(key))
        return false;
    FParts.emplace(std::move(key), std::move(definition));
    return true;
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
