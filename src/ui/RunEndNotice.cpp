#include "ui/RunEndNotice.h"

#include "ui/LaunchOptions.h"

namespace zv {

namespace {

std::string summaryFor(int exitStatus) {
    switch (exitStatus) {
        case 1:
            return "Zandvast: backup niet uitgevoerd";
        case 2:
            return "Zandvast: backup afgebroken";
        case 3:
            return "Zandvast: backup met fouten";
        default:
            return "Zandvast: backup mislukt";
    }
}

std::string whatHappened(int exitStatus) {
    switch (exitStatus) {
        case 1:
            return "De taak is geweigerd of er is niets uitgevoerd";
        case 2:
            return "De run is voor het einde afgebroken";
        case 3:
            return "De run is klaar, maar niet elk bestand kon worden gekopieerd";
        default:
            return "De run is niet goed geëindigd";
    }
}

}  // namespace

std::optional<RunEndNotice> noticeForRunEnd(const std::string& commandLine, int exitStatus,
                                            const std::string& errorLogPath) {
    if (exitStatus == 0 || !isUnattendedStart(commandLine)) return std::nullopt;
    return RunEndNotice{summaryFor(exitStatus), whatHappened(exitStatus) + " (afsluitstatus " +
                                                    std::to_string(exitStatus) + "). Zie " +
                                                    errorLogPath + "."};
}

}  // namespace zv
