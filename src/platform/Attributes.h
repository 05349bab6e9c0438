#pragma once

#include <cstdint>

namespace zv {

// The attribute bits the logic works with.
inline constexpr std::uint32_t kAttrNormal = 0;
inline constexpr std::uint32_t kAttrReadOnly = 1;
inline constexpr std::uint32_t kAttrHidden = 2;
inline constexpr std::uint32_t kAttrSystem = 4;
inline constexpr std::uint32_t kAttrDirectory = 16;
inline constexpr std::uint32_t kAttrArchive = 32;

}  // namespace zv
