#include "MountTable.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "posix/UniqueFd.h"

namespace velmora::posix {
namespace {

// Fields of a line: ID, parent ID, major:minor, root, mount point, options, optional fields
// ending with "-", then the file system type and the source.
constexpr std::size_t kMountPointField = 4;

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// The kernel writes a space, tab, line feed or backslash in a path as \ and three octal
// digits.
std::string unescaped(std::string_view field) {
    if (field.find('\\') == std::string_view::npos) {
        return std::string(field);
    }
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                             (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

// The field after the one that ends at from, and where it ends.
std::string_view nextField(std::string_view line, std::size_t& from) {
    const std::size_t start = std::min(from + 1, line.size());
    from = std::min(line.find(' ', start), line.size());
    return line.substr(start, from - start);
}

}  // namespace

std::vector<Mount> parseMountInfo(std::string_view table) {
    std::vector<Mount> mounts;
    mounts.reserve(static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n')) + 1);
    while (!table.empty()) {
        const std::size_t lineEnd = std::min(table.find('\n'), table.size());
        const std::string_view line = table.substr(0, lineEnd);
        table.remove_prefix(std::min(lineEnd + 1, table.size()));
        std::size_t at = std::string_view::npos;  // just before the first field
        std::string_view field;
        for (std::size_t i = 0; i <= kMountPointField; ++i) {
            field = nextField(line, at);
        }
        const std::string_view mountPoint = field;
        // Optional fields, as many as there are, end with "-".
        while (at < line.size() && nextField(line, at) != "-") {
        }
        nextField(line, at);  // the file system type
        const std::string_view source = nextField(line, at);
        if (!source.empty()) {
            mounts.push_back({unescaped(mountPoint), unescaped(source)});
        }
    }
    return mounts;
}

std::vector<Mount> readMountTable() {
    std::string table;
    const posix::UniqueFd file(open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC));
    char chunk[1 << 16];
    for (ssize_t got; file && (got = read(file.get(), chunk, sizeof chunk)) > 0;) {
        table.append(chunk, static_cast<std::size_t>(got));
    }
    return parseMountInfo(table);
}

}  // namespace velmora::posix
