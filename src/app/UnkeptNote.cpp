#include "app/UnkeptNote.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "app/AppWindow.h"
#include "platform/DateText.h"

namespace zv {

void logUnkeptMetadata(AppWindow& w) {
    static constexpr std::array<std::pair<std::uint32_t, const char*>, 5> kWhat{{
        {kUnkeptOwner, "eigenaar en groep"},
        {kUnkeptXattrs, "extended attributes"},
        {kUnkeptAcls, "ACL's"},
        {kUnkeptHardLinks, "harde links"},
        {kUnkeptModes, "rechten of tijden van mappen"},
    }};
    const std::uint32_t unkept = w.svc.fs.takeUnkept();
    if (unkept == 0) return;
    std::string what;
    for (const auto& [bit, text] : kWhat) {
        if (!(unkept & bit)) continue;
        if (!what.empty()) what += ", ";
        what += text;
    }
    const DateTime now = w.svc.clock.now();
    w.log.add(formatDate(now) + " " + formatTime(now) +
              " Niet bewaard door het bestandssysteem van de backup: " + what);
}

}  // namespace zv
