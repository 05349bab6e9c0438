#pragma once

namespace zv::qt {

// Makes the pictures and the help page built into the program reachable
// (they live in a static library, which the linker would otherwise drop).
void initResources();

}  // namespace zv::qt
