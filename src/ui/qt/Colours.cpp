#include "ui/qt/Colours.h"

namespace zv::qt {

namespace {

constexpr std::uint32_t kSystemFlag = 0x80000000;

QColor systemColour(std::uint32_t index, const QPalette& palette) {
    switch (index) {
        case 8:  // window text
            return palette.color(QPalette::Active, QPalette::WindowText);
        case 10:  // active border: a grey
            return QColor(0x9e, 0x9e, 0x9e);
        case 11:  // inactive caption: the disabled window grey
            return palette.color(QPalette::Disabled, QPalette::Window);
        case 20:  // 3D highlight
            return palette.color(QPalette::Active, QPalette::Light);
        case 21:  // 3D dark shadow
            return palette.color(QPalette::Active, QPalette::Shadow);
        default:
            return palette.color(QPalette::Active, QPalette::WindowText);
    }
}

}  // namespace

QColor toQColor(std::uint32_t colour, const QPalette& palette) {
    if (colour & kSystemFlag) return systemColour(colour & ~kSystemFlag, palette);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace zv::qt
