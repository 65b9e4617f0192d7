#include "support/ScriptedPlatform.h"

#include <filesystem>
#include <fstream>

#include "platform/PlatformError.h"

namespace velmora::test {
namespace {

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
    if (freeSpaceFails) {
        throw PlatformError("Measuring the free space of", root, "Input/output error");
    }
    const auto it = freeBytes_.find(root);
    return it != freeBytes_.end() ? it->second : files_.freeBytesAvailable(root);
}

void ScriptedPlatform::deleteFile(const std::string& path) {
    deletions.push_back(path);
    if (failingDeletions.contains(path)) {
        throw PlatformError("Deleting the file", path, "Permission denied");
    }
    files_.deleteFile(path);
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
        files_.copyFile(from, to);
    } catch (const PlatformError& error) {
        // The shell reports its own errors; the caller sees only the result.
        questions.push_back({error.what(), mb::kOk | mb::kIconError, std::nullopt});
        return {1, false};
    }
    return {};
}

std::shared_ptr<const Picture> ScriptedPlatform::loadPicture(const std::string& path) {
    ++pictureLoads;
    const std::string stored = files_.resolve(path);
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

}  // namespace velmora::test
