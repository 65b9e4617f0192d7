#pragma once

#include <cstdio>
#include <string>

namespace velmora::uitest {

// Counts and prints the outcome of each check; the program's exit code and closing line
// come from here.
class Checks {
  public:
    bool check(bool ok, const std::string& what) {
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
        std::fflush(stdout);
        (ok ? passed_ : failed_)++;
        return ok;
    }
    bool equal(const std::string& actual, const std::string& expected, const std::string& what) {
        return check(
            actual == expected,
            what +
                (actual == expected ? "" : ": \"" + actual + "\", expected \"" + expected + "\""));
    }
    bool closeTo(long actual, long expected, const std::string& what) {
        const bool ok = actual >= expected - 1 && actual <= expected + 1;
        return check(ok, what + (ok ? ""
                                    : ": " + std::to_string(actual) + ", expected " +
                                          std::to_string(expected)));
    }
    int finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        return failed_ == 0 ? 0 : 1;
    }

  private:
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace velmora::uitest
