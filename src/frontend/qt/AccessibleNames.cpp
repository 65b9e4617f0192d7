#include "AccessibleNames.h"

#include <QGroupBox>
#include <QLabel>
#include <array>
#include <utility>

#include "MainWindow.h"

namespace velmora::qt {
namespace {

using Pair = std::pair<std::string_view, std::string_view>;

constexpr std::array<std::pair<std::string_view, const char*>, 19> kDescriptions{{
    {"frameSource", "The videos to copy"},
    {"dirSource", "Source folder: type its path and press Enter"},
    {"btnBrowse", "Browse for the source folder"},
    {"listSource", "Source videos"},
    {"labelSelected", "Selected source size label"},
    {"sizeSource", "Selected source size in megabytes"},
    {"framePSP", "The videos on the PSP's memory stick"},
    {"drivePSP", "PSP drive"},
    {"listPSP", "PSP videos"},
    {"labelSizePSP", "Selected PSP size label"},
    {"sizePSP", "Selected PSP size in megabytes"},
    {"labelPSP", "Free space label"},
    {"freePSP", "Free space on the PSP in megabytes"},
    {"labelSource", "Selected source preview heading"},
    {"picSource", "Thumbnail of the selected source video"},
    {"btnCopy", "Copy the selected videos to the PSP"},
    {"labelSelPSP", "Selected PSP preview heading"},
    {"picPSP", "Thumbnail of the selected PSP video"},
    {"copyRight", "Opens the help page about Velmora; so does F1"},
}};

// Label first, then what it labels.
constexpr std::array<Pair, 5> kLabelled{{
    {"labelSelected", "sizeSource"},
    {"labelSizePSP", "sizePSP"},
    {"labelPSP", "freePSP"},
    {"labelSource", "picSource"},
    {"labelSelPSP", "picPSP"},
}};

// Frame first, then the list inside it.
constexpr std::array<Pair, 2> kFramed{{{"frameSource", "listSource"}, {"framePSP", "listPSP"}}};

}  // namespace

QString accessibleDescriptionOf(std::string_view control) {
    for (const auto& [name, description] : kDescriptions) {
        if (name == control) {
            return QString::fromLatin1(description);
        }
    }
    return {};
}

void nameByNeighbours(const MainWindow& window) {
    for (const auto& [label, labelled] : kLabelled) {
        // The buddy is what Qt reports as the labelled-by relation; the figures keep their
        // own caption as their name, the previews take the label's.
        qobject_cast<QLabel*>(window.view(label))->setBuddy(window.view(labelled));
    }
    // Frames never change their title, so the lists' names stay right.
    for (const auto& [frame, list] : kFramed) {
        window.view(list)->setAccessibleName(qobject_cast<QGroupBox*>(window.view(frame))->title());
    }
}

}  // namespace velmora::qt
