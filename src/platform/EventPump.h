#pragma once

namespace zv {

// Yielding to the event loop. The walks call yield() several times per file;
// an implementation must make that cheap (it may do nothing on most calls).
class EventPump {
  public:
    virtual ~EventPump() = default;
    // Lets the window repaint and react to input, when due.
    virtual void yield() = 0;
    // Shows the current presentation state at once (an explicit repaint).
    virtual void repaintNow() = 0;
};

// A pump for runs without an event loop.
class NullEventPump final : public EventPump {
  public:
    void yield() override {}
    void repaintNow() override {}
};

}  // namespace zv
