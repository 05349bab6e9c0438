#include "app/RemovalGuard.h"

#include <string>

#include "app/AppWindow.h"
#include "sync/RemovalPreview.h"

namespace zv {

namespace {

constexpr std::size_t kPathsShown = 5;

std::string question(const RemovalPreview& preview) {
    std::string text = std::to_string(preview.orphans) + " bestanden verwijderen uit de backup?";
    text += "\r\n";
    for (const std::string& path : preview.firstOrphans) text += "\r\n" + path;
    if (preview.orphans > static_cast<std::int64_t>(preview.firstOrphans.size())) text += "\r\n...";
    return text;
}

}  // namespace

bool removalsAllowed(AppWindow& w) {
    if (w.job.maxRemovals == 0) return true;
    w.ui.panel(1) = "Tellen...";
    const RemovalPreview preview = previewRemovals(w.run, kPathsShown);
    w.progress.totalKnownAhead(static_cast<std::uint64_t>(preview.backupFiles));
    const std::int64_t limit =
        w.job.maxRemovals > 0 ? w.job.maxRemovals : DefaultRemovalLimit(preview.backupFiles);
    if (preview.orphans <= limit || w.userBreak) return true;
    const std::string counts = std::to_string(preview.orphans) + " van " +
                               std::to_string(preview.backupFiles) + " bestanden";
    if (w.unattended) {
        w.log.add(w.log.dateText() + " " + w.log.timeText() + " Error: synchronisatie geweigerd: " +
                  counts + " zouden uit de backup verdwijnen (grens " + std::to_string(limit) +
                  "; -mx N staat meer toe)");
        w.jobRefused = true;
        return false;
    }
    if (w.svc.dialogs.messageBox(question(preview), MessageStyle::YesNo) == MessageAnswer::Yes)
        return true;
    w.log.add(w.log.dateText() + " " + w.log.timeText() +
              " synchronisatie overgeslagen: " + counts + " zouden uit de backup verdwijnen");
    return false;
}

}  // namespace zv
