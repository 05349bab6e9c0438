#pragma once

#include <QElapsedTimer>
#include <functional>

#include "platform/EventPump.h"

namespace zv::qt {

// Yields to the Qt event loop at most once per interval, so that the walks
// may call it several times per file. The window is brought up to date with
// the presentation model less often (twenty times a second is fluent): each
// update repaints, and repainting is what a shown window costs a run.
class QtEventPump final : public EventPump {
  public:
    static constexpr int kIntervalMs = 15;
    static constexpr int kMirrorIntervalMs = 50;

    // Brings the window up to date with the model.
    std::function<void()> mirror;
    // Paints the window at once.
    std::function<void()> repaint;

    void yield() override;
    void repaintNow() override;
    long pumps() const { return pumps_; }
    long mirrors() const { return mirrors_; }

  private:
    QElapsedTimer sinceLastPump_;
    QElapsedTimer sinceLastMirror_;
    long pumps_ = 0;
    long mirrors_ = 0;
};

}  // namespace zv::qt
