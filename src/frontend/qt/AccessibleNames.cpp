#include "AccessibleNames.h"

#include <array>
#include <utility>

namespace velmora::qt {
namespace {

constexpr std::array<std::pair<std::string_view, const char*>, 19> kNames{{
    {"frameSource", "Source"},
    {"dirSource", "Source folder"},
    {"btnBrowse", "Browse for the source folder"},
    {"listSource", "Source videos"},
    {"labelSelected", "Selected source size label"},
    {"sizeSource", "Selected source size in megabytes"},
    {"framePSP", "PSP"},
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
    {"copyRight", "About Velmora"},
}};

}  // namespace

QString accessibleNameOf(std::string_view control) {
    for (const auto& [name, spoken] : kNames) {
        if (name == control) {
            return QString::fromLatin1(spoken);
        }
    }
    return QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size()));
}

}  // namespace velmora::qt
