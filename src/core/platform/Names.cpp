#include "platform/Names.h"

#include <algorithm>

namespace velmora {
namespace {

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return fold(x) == fold(y); });
}

bool lessIgnoreCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(fold(x)) < static_cast<unsigned char>(fold(y));
    });
}

std::string foldedCase(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), fold);
    return folded;
}

void sortIgnoringCase(std::vector<std::string>& names) {
    // A folder can hold thousands of videos and is sorted at every refresh: each name is
    // folded once into one buffer, and small records pointing into it are sorted instead of
    // the strings themselves.
    struct Key {
        std::size_t offset;
        std::size_t length;
        std::size_t index;
    };
    std::string folded;
    std::vector<Key> keys;
    keys.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        keys.push_back({folded.size(), names[i].size(), i});
        folded += foldedCase(names[i]);
    }
    const std::string_view all(folded);
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        const int order = all.substr(a.offset, a.length).compare(all.substr(b.offset, b.length));
        return order != 0 ? order < 0 : names[a.index] < names[b.index];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const Key& key : keys) {
        sorted.push_back(std::move(names[key.index]));
    }
    names = std::move(sorted);
}

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    // A file list's "*.MP4" is a plain ending: compare it directly.
    const std::string_view ending = pattern.substr(1);
    if (pattern.starts_with('*') && ending.find_first_of("*?") == std::string_view::npos) {
        return name.size() >= ending.size() &&
               equalsIgnoreCase(name.substr(name.size() - ending.size()), ending);
    }
    // Greedy matching with a single backtrack point for the last star: linear for the
    // patterns a file list uses and never recursive.
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace velmora
