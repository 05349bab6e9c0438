#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zv {

// The options a job can be given as on the command line; line 12 of a saved
// job file repeats the job in the same form.
enum class Option {
    Source,
    Backup,
    DustbinFolder,
    FromDate,
    DateFilter,
    Synchronise,
    Verify,
    DustbinKind,
    VolumeLabel,
    RemoveEmpty,
    MostRemovals,
};

struct OptionSpec {
    Option option;
    const char* name;      // "-ps"
    const char* argument;  // as the usage text names it: "MAP", "0|1"
    const char* usage;     // the usage text's description (continued lines indented)
    const char* summary;   // the README's and the man page's short description
    int savedOrder;        // its place on line 12 of a job file
    bool savedWhenEmpty;   // line 12 has it even without a value
};

// Every option, in the order a command-line piece is tested against them.
inline constexpr std::array<OptionSpec, 11> kOptions{{
    {Option::Source, "-ps", "MAP", "bronmap (Van)", "source", 0, true},
    {Option::Backup, "-pd", "MAP", "backupmap (Naar)", "backup", 1, true},
    {Option::DustbinFolder, "-pr", "MAP", "eigen prullenbakmap", "dustbin folder", 2, false},
    {Option::FromDate, "-dd", "DATUM", "vanaf datum/tijd, bijvoorbeeld \"19-12-1960 12:58:58\"",
     "from-date", 3, true},
    {Option::DateFilter, "-cd", "0|1", "datumfilter uit/aan", "date filter", 4, true},
    {Option::Synchronise, "-sy", "0|1", "synchroniseren uit/aan", "synchronise", 5, true},
    {Option::Verify, "-vf", "0|1", "backup controleren op ontbrekende mappen uit/aan", "check", 6,
     true},
    {Option::DustbinKind, "-db", "0|1|2", "prullenbak: geen, systeem, eigen map", "dustbin", 7,
     false},
    {Option::VolumeLabel, "-vl", "NAAM", "volumenaam van de backupschijf",
     "required volume label of the backup disk", 9, false},
    {Option::RemoveEmpty, "-ke", "0|1", "lege mappen in de backup wissen uit/aan",
     "remove empty folders", 8, true},
    {Option::MostRemovals, "-mx", "N",
     "synchroniseren mag hoogstens N bestanden uit de backup\n"
     "verwijderen (0 = geen grens); zonder -mx: een vijfde van de\n"
     "bestanden in de backup, hoogstens 1000 en minstens 10.\n"
     "Wie meer zou verwijderen, vraagt het in het venster en\n"
     "weigert zonder venster (status 1)",
     "the most files a synchronisation may remove", 10, false},
}};

// An option's value as the command line gave it; empty when not given.
using OptionValues = std::array<std::string, kOptions.size()>;

inline std::string& valueOf(OptionValues& values, Option option) {
    return values[static_cast<std::size_t>(option)];
}
inline const std::string& valueOf(const OptionValues& values, Option option) {
    return values[static_cast<std::size_t>(option)];
}

// The values of the options among `tokens` (the first token is the program's
// own and is passed over). A piece is an option when it begins with the
// option ("-ps") or with its two letters ("ps"); its value starts after the
// letters and one more character. Nothing when a piece holds the option
// letters but no room for a value.
std::optional<OptionValues> collectOptionValues(const std::vector<std::string>& tokens);

// The usage text's lines for the options.
std::string optionsUsage();

// Line 12 of a job file: the options that have a value (and those saved
// without one), in their saved order.
std::string savedOptionLine(const OptionValues& values);

}  // namespace zv
