#include "ui/LaunchOptions.h"

#include <vector>

#include "app/AppWindow.h"
#include "config/Options.h"
#include "config/VersionText.h"

namespace zv {

LaunchRequest requestOf(const std::string& commandLine) {
    if (commandLine == "--version") return LaunchRequest::PrintVersion;
    if (commandLine == "--help") return LaunchRequest::PrintHelp;
    return LaunchRequest::Run;
}

std::string versionLine(const Version& version) {
    return programVersion(version);
}

std::string usageText() {
    return "Gebruik:\n"
           "  zandvast                      venster openen (taak uit Init.dat)\n"
           "  zandvast -if FILE -qu         taak uit FILE uitvoeren, zonder venster\n"
           "  zandvast -if FILE -x          taak uit FILE uitvoeren, met venster\n"
           "  zandvast -if FILE -cf 1       idem, eerst vragen bij een ander backupvolume\n"
           "  zandvast -ps BRON -pd BACKUP [opties]   taak uit opties uitvoeren\n"
           "\n"
           "Opties:\n" +
           optionsUsage() +
           "\n"
           "  --version    versie tonen\n"
           "  --help       deze tekst tonen\n";
}

bool isUnattendedStart(const std::string& commandLine) {
    const std::vector<std::string> tokens = AppWindow::splitCommandLine(commandLine);
    if (tokens.empty()) return false;
    if (tokens[0] == "NoInitFile") return true;
    return tokens[0] == "InitFile" && tokens.size() > 1 && tokens[1].rfind("-if", 0) == 0;
}

DisplayChoice chooseDisplay(const std::string& commandLine, const DisplayEnvironment& env) {
    if (env.platformSet || env.x11 || env.wayland) return DisplayChoice::AsConfigured;
    return isUnattendedStart(commandLine) ? DisplayChoice::Offscreen : DisplayChoice::NoDisplay;
}

bool isUnseenPlatform(const std::string& platformVariable) {
    const std::string name = platformVariable.substr(0, platformVariable.find_first_of(":;"));
    return name == "offscreen" || name == "minimal";
}

void giveUpUnseenWindow(AppWindow& w) {
    w.log.add(w.log.dateText() + " " + w.log.timeText() +
              " Error: geen beeldscherm; het venster kan niet wachten en wordt gesloten");
    w.jobRefused = true;
    w.log.write();
}

}  // namespace zv
