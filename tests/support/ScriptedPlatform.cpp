#include "support/ScriptedPlatform.h"

#include <filesystem>
#include <fstream>

#include "platform/PlatformError.h"

#include "FileOperations.h"

namespace velmora::test {
namespace {

const FileOperations files;

template <typename T>
std::optional<T> takeNext(std::deque<T>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

bool startsWithPictureSignature(const std::string& head) {
    return head.starts_with("\xFF\xD8") || head.starts_with("\x89PNG") || head.starts_with("BM");
}

}  // namespace

int ScriptedPlatform::messageBox(const std::string& text, int flags,
                                 const std::optional<std::string>& title) {
    questions.push_back({text, flags, title});
    const int fallback = (flags & 0xF) == mb::kYesNo ? mb::kAnswerNo : mb::kAnswerOk;
    return takeNext(answers_).value_or(fallback);
}

std::optional<std::string> ScriptedPlatform::browseForFolder(const std::string& title) {
    browseTitles.push_back(title);
    return takeNext(browses_).value_or(std::nullopt);
}

double ScriptedPlatform::randomDraw() {
    ++randomDraws;
    return takeNext(draws_).value_or(0.0);
}

std::uint64_t ScriptedPlatform::freeBytesAvailable(const std::string& root) {
    const auto it = freeBytes_.find(root);
    return it != freeBytes_.end() ? it->second : files.freeBytesAvailable(root);
}

std::string ScriptedPlatform::workingFolder() {
    return workingFolder_ ? *workingFolder_ : files.workingFolder();
}

ShellCopyResult ScriptedPlatform::shellCopy(const std::string& from, const std::string& to) {
    shellCopies.push_back({from, to});
    const int n = static_cast<int>(shellCopies.size());
    if (cancelledCopies_.contains(n)) {
        return {0, true};
    }
    if (failingCopies_.contains(n)) {
        return {1, false};
    }
    try {
        files.copyFile(from, to);
    } catch (const PlatformError& error) {
        // The shell reports its own errors; the caller sees only the result.
        questions.push_back({error.what(), mb::kOk | mb::kIconError, std::nullopt});
        return {1, false};
    }
    return {};
}

std::shared_ptr<const Picture> ScriptedPlatform::loadPicture(const std::string& path) {
    ++pictureLoads;
    const std::string stored = files.resolve(path);
    std::ifstream in(std::filesystem::path(std::u8string(stored.begin(), stored.end())),
                     std::ios::binary);
    if (!in) {
        throw PlatformError("Reading the picture", path, "cannot open");
    }
    std::string head(4, '\0');
    in.read(head.data(), 4);
    head.resize(static_cast<std::size_t>(in.gcount()));
    return startsWithPictureSignature(head) ? std::make_shared<TestPicture>(path) : nullptr;
}

std::string ScriptedPlatform::findFirst(const std::string& pattern, int attributeMask) {
    return files.findFirst(pattern, attributeMask);
}
bool ScriptedPlatform::isFolder(const std::string& path) {
    return files.isFolder(path);
}
std::int64_t ScriptedPlatform::fileLength(const std::string& path) {
    return files.fileLength(path);
}
void ScriptedPlatform::deleteFile(const std::string& path) {
    files.deleteFile(path);
}
void ScriptedPlatform::makeFolder(const std::string& path) {
    files.makeFolder(path);
}
void ScriptedPlatform::copyFile(const std::string& from, const std::string& to) {
    files.copyFile(from, to);
}
std::vector<std::string> ScriptedPlatform::listFiles(const std::string& folder) {
    return files.listFiles(folder);
}

}  // namespace velmora::test
