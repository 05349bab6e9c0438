#include "ui/LaunchOptions.h"

#include <vector>

#include "app/frmVergelijker.h"

namespace zv {

LaunchRequest RequestOf(const std::string& commandLine) {
    if (commandLine == "--version") return LaunchRequest::PrintVersion;
    if (commandLine == "--help") return LaunchRequest::PrintHelp;
    return LaunchRequest::Run;
}

std::string VersionLine(const Version& version) {
    return "Zandvast v." + std::to_string(version.major) + "." + std::to_string(version.minor) +
           "." + std::to_string(version.revision);
}

std::string UsageText() {
    return "Gebruik:\n"
           "  zandvast                      venster openen (taak uit Init.dat)\n"
           "  zandvast -if FILE -qu         taak uit FILE uitvoeren, zonder venster\n"
           "  zandvast -if FILE -x          taak uit FILE uitvoeren, met venster\n"
           "  zandvast -if FILE -cf 1       idem, eerst vragen bij een ander backupvolume\n"
           "  zandvast -ps BRON -pd BACKUP [opties]   taak uit opties uitvoeren\n"
           "\n"
           "Opties:\n"
           "  -ps MAP      bronmap (Van)\n"
           "  -pd MAP      backupmap (Naar)\n"
           "  -pr MAP      eigen prullenbakmap\n"
           "  -dd DATUM    vanaf datum/tijd, bijvoorbeeld \"19-12-1960 12:58:58\"\n"
           "  -cd 0|1      datumfilter uit/aan\n"
           "  -sy 0|1      synchroniseren uit/aan\n"
           "  -vf 0|1      backup controleren op ontbrekende mappen uit/aan\n"
           "  -db 0|1|2    prullenbak: geen, systeem, eigen map\n"
           "  -vl NAAM     volumenaam van de backupschijf\n"
           "  -ke 0|1      lege mappen in de backup wissen uit/aan\n"
           "  -mx N        synchroniseren mag hoogstens N bestanden uit de backup\n"
           "               verwijderen (0 = geen grens); zonder -mx: een vijfde van de\n"
           "               bestanden in de backup, hoogstens 1000 en minstens 10.\n"
           "               Wie meer zou verwijderen, vraagt het in het venster en\n"
           "               weigert zonder venster (status 1)\n"
           "\n"
           "  --version    versie tonen\n"
           "  --help       deze tekst tonen\n";
}

bool IsUnattendedStart(const std::string& commandLine) {
    const std::vector<std::string> tokens = frmVergelijker::SplitCommandLine(commandLine);
    if (tokens.empty()) return false;
    if (tokens[0] == "NoInitFile") return true;
    return tokens[0] == "InitFile" && tokens.size() > 1 && tokens[1].rfind("-if", 0) == 0;
}

DisplayChoice ChooseDisplay(const std::string& commandLine, const DisplayEnvironment& env) {
    if (env.platformSet || env.x11 || env.wayland) return DisplayChoice::AsConfigured;
    return IsUnattendedStart(commandLine) ? DisplayChoice::Offscreen : DisplayChoice::NoDisplay;
}

bool IsUnseenPlatform(const std::string& platformVariable) {
    const std::string name = platformVariable.substr(0, platformVariable.find_first_of(":;"));
    return name == "offscreen" || name == "minimal";
}

void GiveUpUnseenWindow(frmVergelijker& w) {
    w.log.add(w.log.dateText() + " " + w.log.timeText() +
              " Error: geen beeldscherm; het venster kan niet wachten en wordt gesloten");
    w.JobRefused = true;
    w.log.write();
}

}  // namespace zv
