// The command-line options and the run they start: the input is the text
// after the program's name, cut into pieces as the program cuts it.
#include <cstddef>
#include <cstdint>

#include "Scratch.h"

namespace {

constexpr std::size_t kMaxCommandLineBytes = 2048;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxCommandLineBytes) return 0;
    zv::fuzz::RunScene scene;
    scene.start(zv::fuzz::textOf(data, size));
    scene.checkAfterRun();
    return 0;
}
