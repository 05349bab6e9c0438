#pragma once

#include "platform/DateTime.h"

namespace zv {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() = 0;
};

// The machine's clock.
class SystemClock final : public Clock {
  public:
    DateTime now() override {
        return std::chrono::time_point_cast<std::chrono::nanoseconds>(
            std::chrono::system_clock::now());
    }
};

}  // namespace zv
