#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velmora {

// One folder's file names, read once, then found as the first-match lookup finds a name as
// written: in any letter case, with * and ? as plain characters. Asking it costs nothing
// more of the file system, however many names are asked.
class NameIndex {
  public:
    // A name's key, the same for names that differ only in letter case.
    using Key = std::function<std::string(std::string_view)>;

    NameIndex() = default;
    NameIndex(std::vector<std::string> names, Key key);

    // The stored name that equals name but for letter case, the name itself when it is
    // stored so; empty when the folder holds none.
    std::string find(std::string_view name) const;

  private:
    Key key_;
    std::unordered_set<std::string> asStored_;
    std::unordered_map<std::string, std::string> byKey_;
};

}  // namespace velmora
