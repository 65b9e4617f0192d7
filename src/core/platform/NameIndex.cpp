#include "platform/NameIndex.h"

#include "platform/Names.h"

namespace velmora {

NameIndex::NameIndex(std::vector<std::string> names) {
    asStored_.reserve(names.size());
    byFoldedCase_.reserve(names.size());
    for (std::string& name : names) {
        byFoldedCase_.try_emplace(foldedCase(name), name);
        asStored_.insert(std::move(name));
    }
}

std::string NameIndex::find(std::string_view name) const {
    std::string key(name);
    if (asStored_.contains(key)) {
        return key;
    }
    const auto folded = byFoldedCase_.find(foldedCase(name));
    return folded != byFoldedCase_.end() ? folded->second : std::string();
}

}  // namespace velmora
