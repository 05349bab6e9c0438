#pragma once

#include <QElapsedTimer>
#include <functional>

#include "platform/EventPump.h"

namespace zv::qt {

// Yields to the Qt event loop at most once per interval, so that the walks
// may call it several times per file. Only when it really pumps does it first
// bring the window up to date with the presentation model.
class QtEventPump final : public EventPump {
  public:
    static constexpr int kIntervalMs = 15;

    // Brings the window up to date with the model.
    std::function<void()> mirror;
    // Paints the window at once.
    std::function<void()> repaint;

    void yield() override;
    void repaintNow() override;
    long pumps() const { return pumps_; }

  private:
    QElapsedTimer sinceLastPump_;
    long pumps_ = 0;
};

}  // namespace zv::qt
