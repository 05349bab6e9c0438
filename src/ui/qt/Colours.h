#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace zv::qt {

// A colour as the presentation model stores it (0x00BBGGRR, or
// 0x80000000 | system colour index) in the widget palette's terms.
QColor toQColor(std::uint32_t colour, const QPalette& palette);

}  // namespace zv::qt
