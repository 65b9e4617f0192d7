#include "TestData.h"

#include <windows.h>

#include "SampleJpeg.h"
#include "TestFiles.h"

namespace velmora::uitest {
namespace {

void makeFolder(const std::wstring& folder, const std::vector<Video>& videos, int& seed) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const Video& video : videos) {
        writeFile(folder + L"\\" + video.name, videoBytes(video.size, ++seed));
        if (!video.thumbnail.empty()) {
            const std::wstring base = video.name.substr(0, video.name.size() - 4);
            writeFile(folder + L"\\" + base + L".THM", video.thumbnail);
        }
    }
}

}  // namespace

const std::vector<Video>& sourceVideos() {
    static const std::vector<Video> videos{
        {L"Beach.MP4", 1'572'864, test::kSampleJpeg},
        {L"city.mp4", 1'258'291, {}},
        {L"Dunes.MP4", 2'621'440, test::kOtherSampleJpeg},
    };
    return videos;
}

const std::vector<Video>& largeVideos() {
    static const std::vector<Video> videos{
        {L"Trip 1.MP4", 2'000'000, test::kSampleJpeg},
        {L"Trip 2.MP4", 2'000'000, test::kOtherSampleJpeg},
    };
    return videos;
}

TestFolders::TestFolders() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"velmora-ui-" + std::to_wstring(GetCurrentProcessId());
    work = root + L"\\work";
    source = root + L"\\source";
    large = root + L"\\large";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(work.c_str(), nullptr);
    writeFile(work + L"\\start.mp4", "x");
    int seed = 0;
    makeFolder(source, sourceVideos(), seed);
    makeFolder(large, largeVideos(), seed);
}

TestFolders::~TestFolders() {
    removeTree(root);
}

}  // namespace velmora::uitest
