#include "CopyStepText.h"

#include <algorithm>

#include "summary/Megabytes.h"

namespace velmora {
namespace {

// Sooner, a copy's pace still holds the drive's start-up and says little of the rest.
constexpr auto kEstimateAfter = std::chrono::seconds(2);

std::string timeLeft(std::uint64_t seconds) {
    if (seconds < 60) {
        return "about " + std::to_string(seconds < 5 ? 5 : (seconds + 4) / 5 * 5) + " seconds left";
    }
    const std::uint64_t minutes = (seconds + 30) / 60;
    return "about " + std::to_string(minutes) + (minutes == 1 ? " minute left" : " minutes left");
}

}  // namespace

std::string copyStepText(const CopyStep& step, std::uint64_t copied,
                         std::chrono::steady_clock::duration elapsed) {
    std::string text = std::to_string(step.number) + " of " + std::to_string(step.count);
    if (step.runBytes == 0) {
        return text;
    }
    const std::uint64_t done = step.bytesBefore + copied;
    text += " \u00b7 " + megabyteFigure(wholeMegabytes(done)) + " of " +
            megabyteFigure(wholeMegabytes(step.runBytes)) + " MB";
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    if (elapsed >= kEstimateAfter && copied > 0 && done <= step.runBytes) {
        const double perMs = static_cast<double>(copied) / static_cast<double>(ms);
        text += " \u00b7 " + timeLeft(static_cast<std::uint64_t>(
                                 static_cast<double>(step.runBytes - done) / perMs / 1000));
    }
    return text;
}

int runThousandths(const CopyStep& step, std::uint64_t copied, std::uint64_t total) {
    const bool ofRun = step.runBytes > 0;
    const std::uint64_t whole = ofRun ? step.runBytes : total;
    const std::uint64_t done = ofRun ? step.bytesBefore + copied : copied;
    return whole == 0 ? 0 : static_cast<int>(std::min(done, whole) * 1000 / whole);
}

}  // namespace velmora
