#pragma once

#include <cstdint>

namespace zv {

// The total size of some folder trees, being worked out beside the caller.
// Dropping it abandons the work (without waiting for the whole of it).
class PendingSize {
  public:
    virtual ~PendingSize() = default;
    // The total is known; never waits.
    virtual bool ready() = 0;
    // Waits for the total.
    virtual std::uint64_t total() = 0;
};

// A total that was known at once.
class KnownSize final : public PendingSize {
  public:
    explicit KnownSize(std::uint64_t bytes) : bytes_(bytes) {}
    bool ready() override { return true; }
    std::uint64_t total() override { return bytes_; }

  private:
    std::uint64_t bytes_;
};

}  // namespace zv
