#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"

namespace velmora::bench {

// Selecting 1,000 videos that each have a thumbnail against selecting 1,000 that have none,
// on the same platform: the preview shows one picture, so it should cost about one decode,
// however many videos are selected.
template <typename ThumbnailBytes>
void reportSummaryRatio(Platform& platform, ThumbnailBytes&& thumbnailBytes) {
    constexpr int kVideos = 1000;
    const ScratchFolder withThumbnails("velmora-summary-thumbnails");
    const ScratchFolder withoutThumbnails("velmora-summary-bare");
    char name[32];
    for (int i = 0; i < kVideos; ++i) {
        std::snprintf(name, sizeof name, "clip%04d", i);
        for (const ScratchFolder* folder : {&withThumbnails, &withoutThumbnails}) {
            folder->write(std::string(name) + ".MP4");
            std::filesystem::resize_file(folder->at(std::string(name) + ".MP4"), 1 << 20);
        }
        withThumbnails.write(std::string(name) + ".THM", thumbnailBytes(i));
    }

    MainForm shown(platform);
    MainForm bare(platform);
    for (auto [form, folder] : {std::pair{&shown, &withThumbnails}, {&bare, &withoutThumbnails}}) {
        form->listSource.setPath(folder->path());
        for (int i = 0; i < form->listSource.ListCount(); ++i) {
            form->listSource.setSelected(i, true);
        }
    }
    const Timing timing = compare(
        7, 3, [&] { shown.listSource_Click(); }, [&] { bare.listSource_Click(); });
    std::printf("sizeSource shows %s MB with thumbnails, %s MB without\n",
                shown.sizeSource.Caption().c_str(), bare.sizeSource.Caption().c_str());
    report("Selecting 1,000 videos with thumbnails / 1,000 without", timing, 1.2);
}

}  // namespace velmora::bench
