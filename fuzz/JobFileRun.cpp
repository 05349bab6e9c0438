// The job file reader and the run of its job: the input is a job file,
// started as "zandvast -if Job.dat -qu" from the scratch folder.
#include <cstddef>
#include <cstdint>

#include "Scratch.h"
#include "support/TempDir.h"

namespace {

// Twelve lines of paths and switches; far longer inputs only cost time.
constexpr std::size_t kMaxJobBytes = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxJobBytes) return 0;
    zv::fuzz::RunScene scene;
    zv::test::writeFile(scene.appFolder() + "/Job.dat", zv::fuzz::textOf(data, size));
    scene.start("-if Job.dat -qu");
    scene.checkAfterRun();
    return 0;
}
