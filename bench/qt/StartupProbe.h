#pragma once

#include <QObject>

namespace velmora::bench {

// When the watched window is first painted on screen, prints
// the wall-clock time in nanoseconds since the epoch ("shown_at_ns=...") and ends the
// program, so a script can take the time from its own launch to the first shown window.
class StartupProbe : public QObject {
  public:
    explicit StartupProbe(QObject* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool reported_ = false;
};

}  // namespace velmora::bench
