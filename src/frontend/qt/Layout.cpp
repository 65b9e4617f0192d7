#include "Layout.h"

#include <QFile>
#include <QFontDatabase>
#include <QScreen>
#include <cmath>

namespace velmora::qt {
namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr double kReferenceDpi = 96.0;

}  // namespace

Layout Layout::forScreen(const QScreen* screen) {
    return Layout(screen != nullptr ? screen->logicalDotsPerInch() / kReferenceDpi : 1.0);
}

int Layout::pixels(int twips) const {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel * scale_));
}

QRect Layout::rect(const TwipsRect& place) const {
    return {pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height)};
}

void addTahomaClone() {
    // Wine ships a metric-compatible Tahoma (Debian: fonts-wine) outside fontconfig's paths;
    // with it every caption sits exactly where it was laid out.
    static const bool added = [] {
        const QString clone = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        return QFile::exists(clone) && QFontDatabase::addApplicationFont(clone) >= 0;
    }();
    (void)added;
}

QFont controlFont(const Font& font) {
    addTahomaClone();
    QFont qfont;
    // Tahoma's widths sit between Arial's and Verdana's; the Arial-metric faces come
    // nearest, DejaVu Sans (Verdana-like, wider) is the last resort.
    qfont.setFamilies({QString::fromStdString(font.face), QStringLiteral("Liberation Sans"),
                       QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                       QStringLiteral("DejaVu Sans")});
    qfont.setStyleHint(QFont::SansSerif);
    qfont.setPointSizeF(font.points);
    qfont.setWeight(static_cast<QFont::Weight>(font.weight));
    qfont.setUnderline(font.underline);
    return qfont;
}

}  // namespace velmora::qt
