#include "platform/linux/BackgroundCount.h"

#include <atomic>
#include <stop_token>
#include <thread>
#include <utility>

#include "platform/linux/FolderTree.h"

namespace zv {

namespace {

class BackgroundCount final : public PendingCount {
  public:
    explicit BackgroundCount(std::vector<std::string> folders)
        : thread_([this, folders = std::move(folders)](std::stop_token stop) {
              std::uint64_t sum = 0;
              for (const std::string& folder : folders) {
                  std::uint64_t count = 0;
                  if (countTreeFiles(folder, count, stop).ok()) sum += count;
                  if (stop.stop_requested()) break;
              }
              count_ = sum;
              done_.store(true, std::memory_order_release);
          }) {}

    bool ready() override { return done_.load(std::memory_order_acquire); }

    std::uint64_t total() override {
        if (thread_.joinable()) thread_.join();
        return count_;
    }

  private:
    std::atomic<bool> done_{false};
    std::uint64_t count_ = 0;  // written by the thread before done_
    std::jthread thread_;      // last: stopped and joined before the rest goes
};

}  // namespace

std::unique_ptr<PendingCount> countFilesInBackground(std::vector<std::string> folders) {
    return std::make_unique<BackgroundCount>(std::move(folders));
}

}  // namespace zv
