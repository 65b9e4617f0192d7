#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"

namespace velmora::bench {

// Selecting 3,000 videos that have no thumbnail against selecting 3,000 that each have one,
// on the same platform: the preview decodes one picture however many are selected, and the
// thumbnails are found in one read of the folder whether they are there or not, so both
// should cost about the same.
template <typename ThumbnailBytes>
void reportSummaryRatio(Platform& platform, ThumbnailBytes&& thumbnailBytes) {
    constexpr int kVideos = 3000;
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
        7, 3, [&] { bare.listSource_Click(); }, [&] { shown.listSource_Click(); });
    std::printf("sizeSource shows %s MB without thumbnails, %s MB with\n",
                bare.sizeSource.Caption().c_str(), shown.sizeSource.Caption().c_str());
    report("Selecting 3,000 videos without thumbnails / 3,000 with", timing, 1.5);
}

}  // namespace velmora::bench
