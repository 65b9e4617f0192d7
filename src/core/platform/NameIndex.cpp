#include "platform/NameIndex.h"

namespace velmora {

NameIndex::NameIndex(std::vector<std::string> names, Key key) : key_(std::move(key)) {
    asStored_.reserve(names.size());
    byKey_.reserve(names.size());
    for (std::string& name : names) {
        byKey_.try_emplace(key_(name), name);
        asStored_.insert(std::move(name));
    }
}

std::string NameIndex::find(std::string_view name) const {
    std::string asWritten(name);
    if (asStored_.contains(asWritten)) {
        return asWritten;
    }
    if (!key_) {
        return {};
    }
    const auto stored = byKey_.find(key_(name));
    return stored != byKey_.end() ? stored->second : std::string();
}

}  // namespace velmora
