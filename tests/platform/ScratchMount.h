#pragma once

#include <string>

namespace zv::test {

// A small file system mounted for one test (root only) and unmounted when
// the object goes. `ok()` is false when this machine does not allow it; the
// test then skips.
class ScratchMount {
  public:
    // A tmpfs of the given size at `mountPoint` (created if missing).
    static ScratchMount tmpfs(const std::string& mountPoint, const std::string& size);
    // A ramfs (which keeps no extended attributes) at `mountPoint`.
    static ScratchMount ramfs(const std::string& mountPoint);
    // A loop-mounted image made by `mkfsCommand` (which gets the image path
    // appended), e.g. "mkfs.ext4 -q -L ZVLBL".
    static ScratchMount image(const std::string& imagePath, const std::string& mountPoint,
                              const std::string& sizeMiB, const std::string& mkfsCommand);

    ScratchMount(ScratchMount&& other) noexcept;
    ScratchMount& operator=(ScratchMount&&) = delete;
    ScratchMount(const ScratchMount&) = delete;
    ~ScratchMount();

    bool ok() const { return mounted_; }
    const std::string& path() const { return mountPoint_; }
    const std::string& why() const { return why_; }

  private:
    ScratchMount() = default;
    static ScratchMount inMemory(const char* type, const std::string& mountPoint,
                                 const std::string& options);
    std::string mountPoint_;
    std::string why_;
    bool mounted_ = false;
};

// Quotes a text for the shell.
std::string shellQuoted(const std::string& text);

}  // namespace zv::test
