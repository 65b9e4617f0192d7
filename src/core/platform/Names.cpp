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
    // A folder can hold thousands of videos and is sorted at every refresh, so each name is
    // folded once rather than at every comparison; pairs of short strings sort faster here
    // than records pointing into one buffer of folded names.
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        keyed.emplace_back(foldedCase(name), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed) {
        names.push_back(std::move(name));
    }
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
