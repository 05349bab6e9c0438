#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "config/ConfigFixture.h"
#include "config/Options.h"

namespace zv::test {
namespace {

const std::string kBasic = "-ps {source} -pd {backup}";

// Options given on the command line: refused ones close the window with their
// own log line, nothing runs and nothing is asked; accepted ones set the job
// and run it, hidden, from the given date, with exactly one mode picture.
TEST(CommandLineOptions, RefusedAndAccepted) {
    struct Case {
        std::string options, expected;  // the log when refused, else the state
        std::function<void(JobScene&)> before{};
    };
    auto allOn = [](JobScene& s) {
        AppWindow& x = s.w();
        x.ui.dateFilterBox.value = 1;
        x.job.synchronise = x.job.verify = x.job.useDustbin = x.job.dustbinToTrash =
            x.job.dustbinToFolder = x.job.removeEmptyFolders = true;
    };
    auto labelled = [](const char* name) {
        return [name](JobScene& s) { s.label(s.backup, name); };
    };
    // switches | pictures / sync tooltip / from-date at the run's start
    const std::string on = " / synchroniseren (ingeschakeld) / ";
    const std::string off = " / synchroniseren (uitgeschakeld) / ",
                      quick = "nodate | noCheckPicture";
    const std::string date = "19-12-1960 12:58:58", labels = "{stamp} Error: DATA1 <> ";
    const std::string source = "{time} Sourcepath invalid\r\n",
                      bin = "{time} Dustbinpath invalid\r\n";
    const Case cases[] = {
        {"-pd {backup} -vf 1", source},
        {"-ps NODISK/Data -pd {backup}", source},
        {"-PS {source} -pd {backup}", source},
        {"-ps {source} -vf 1", "{time} Targetpath invalid\r\n"},
        {kBasic + " -db 1", bin},
        {kBasic + " -pr <RECYCLER> -db 1", bin},
        // A dustbin number that is no whole number is refused, not guessed.
        {kBasic + " -pr {source} -db twee", bin},
        {kBasic + " -pr {source} -db 1.5", bin},
        {kBasic + " -mx veel", "{time} Maxremovals invalid\r\n"},
        {kBasic + " -vl DATA1", labels + "DATA2\r\nVolumelabels don't match\r\n",
         labelled("DATA2")},
        {kBasic + " -vl DATA1", labels + "data1\r\nVolumelabels don't match\r\n",
         labelled("data1")},
        {kBasic + " -dd " + date + " -cd 1 -sy 0 -vf 1", "verify | noSyncPicture" + off + date},
        {kBasic + " -dd Mon 19-12-1960, 12:58:58", quick + off + "19-12-1960 00:00:00"},
        {kBasic + " -dd morgen", quick + off},
        {kBasic + " -pr {root} -db 2 -vf 1 -sy 1",
         "sync verify dustbin custom nodate | syncPicture" + on},
        {kBasic + " -pr {root} -db 1", "dustbin win nodate | noCheckPicture" + off},
        {kBasic + " -db 0", "sync verify killempty | syncPicture" + on, allOn},
        {kBasic + " -sy 1 -vf 0", quick + on},  // the quick mode switches sync off
        {kBasic + " -ke 1", "killempty nodate | noCheckPicture" + off},
        // Values that are no numbers leave their settings alone.
        {kBasic + " -ke 0 -cd x -sy ja -vf nee", "sync verify | syncPicture" + on, allOn},
        {kBasic + " -cd 0 -zz iets -Files", quick + off},
        {kBasic + " -cd 2", "sync verify killempty nodate | syncPicture" + on, allOn},  // greyed
        {"-ps /nergens -pd {backup} -ps {source}", quick + off},
        // The value starts at the third character after the hyphen.
        {"-psX{source} -pd {backup}", quick + off},
        {kBasic + " -vl DATA1", quick + off, labelled("DATA1")},
        {"-ps {source} -pd {root}/nieuw", quick + off},  // made, one level
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        JobScene s;
        if (c.before) c.before(s);
        AppWindow& w = s.w();
        w.job.fromDate = w.ui.fromDateBox.text = "1-1-2020 00:00:00";
        std::string fromAtRunStart = "no run";
        s.rig.pump.hookAt = 1;
        s.rig.pump.hook = [&] {
            EXPECT_EQ(w.ui.fromDateBox.text, w.job.fromDate);
            fromAtRunStart = w.job.fromDate;
        };
        s.apply(s.expand(c.options));
        const bool refused = w.jobRefused;
        EXPECT_EQ(refused ? w.log.text()
                          : s.flags() + " / " + w.ui.syncArrow.toolTip + " / " + fromAtRunStart,
                  s.expand(c.expected));
        EXPECT_EQ(std::string(w.ui.closed ? "closed" : "open") + (w.ui.visible ? " shown" : "") +
                      (w.unattended ? " unattended" : "") + (s.ran() ? " ran" : "") +
                      (s.log().empty() ? "" : " logged"),
                  refused ? "closed logged" : "open unattended ran");
        EXPECT_TRUE(refused || w.job.source == s.source) << w.job.source;
        EXPECT_TRUE(s.boxes().empty());
    }
}

TEST_F(ConfigTest, VolumeNameInTheOptionPaths) {
    const std::string disk = at("media/disk");
    writeFile(disk + "/Data/d.txt", "d");
    w().driveList = {disk + ":=MYDISK"};
    label(disk, "MYDISK");
    apply("-ps MYDISK/Data -pd MYDISK/Backup -vl MYDISK");
    EXPECT_EQ(w().job.source, disk + "/Data");
    EXPECT_EQ(readFile(disk + "/Backup/d.txt"), "d");
}

// Every option of the table is documented where users look: the README's
// list (with its summary), the man page and the shell completion.
TEST(CommandLineOptions, EveryOptionIsDocumented) {
    std::string text[3];
    const char* files[] = {"README.md", "packaging/zandvast.1",
                           "packaging/zandvast.bash-completion"};
    for (int i = 0; i < 3; ++i) {
        std::stringstream in;
        in << std::ifstream(std::string(ZV_SOURCE_DIR) + "/" + files[i]).rdbuf();
        text[i] = in.str();
    }
    for (char& c : text[0])
        if (c == '\n') c = ' ';  // a summary may wrap
    for (const OptionSpec& spec : kOptions) {
        const std::string name = spec.name;
        EXPECT_NE(text[0].find("`" + name + "` " + spec.summary), std::string::npos) << name;
        EXPECT_NE(text[1].find("\\" + name), std::string::npos) << name;
        EXPECT_NE(text[2].find("\\n" + name + "\\n"), std::string::npos) << name;
    }
}

// What the command line gives: both spellings of an option, the last of a
// repeated one, nothing for a piece too short to hold a value; and line 12
// writes them back in its own order, leaving out only the optional ones
// without a value.
TEST(CommandLineOptions, ValuesAndLineTwelve) {
    auto values =
        collectOptionValues({"InitFile", "-ps /a", "pd /b", "-sy 1", "-sy 0", "-mx 5", "-vl X"});
    ASSERT_TRUE(values);
    EXPECT_EQ(valueOf(*values, Option::Source) + "|" + valueOf(*values, Option::Backup) + "|" +
                  valueOf(*values, Option::Synchronise) + "|" +
                  valueOf(*values, Option::DustbinFolder),
              "/a|/b|0|");
    EXPECT_EQ(savedOptionLine(*values), "-ps /a -pd /b -dd  -cd  -sy 0 -vf  -ke  -vl X -mx 5");
    EXPECT_FALSE(collectOptionValues({"InitFile", "-ps"}));
    EXPECT_TRUE(collectOptionValues({"-ps"}));  // the program's own token
}

// The start-up tests run the common forms; these are the splitter's odd cases.
TEST(CommandLineOptions, SplitCommandLine) {
    const std::pair<const char*, Lines> cases[] = {
        {"-if Job.dat -qu -cf 1", {"InitFile", "-if Job.dat", "qu", "cf 1"}},
        {"-if Job.dat -qu cf 1", {"InitFile", "-if Job.dat", "qu cf 1"}},
        {"-ps /data", {"InitFile", "-ps /data"}},
        {"-ps /data -pd MYDISK/Backup -db 1",
         {"NoInitFile", "-ps /data", "pd MYDISK/Backup", "db 1"}},
        {"-ps /home/My -Files -pd /b", {"NoInitFile", "-ps /home/My", "Files", "pd /b"}},
        {"-ps /home/jörg/Mijn documenten -pd /media/Schijf één/Back-up",
         {"NoInitFile", "-ps /home/jörg/Mijn documenten", "pd /media/Schijf één/Back-up"}},
        {"a - -b", {"NoInitFile", "a", "", "b"}},
        {"a -", {"NoInitFile", "a", ""}},
        {" -if x", {"InitFile", " -if x", "if x"}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(AppWindow::splitCommandLine(text), expected) << text;
    }
}

}  // namespace
}  // namespace zv::test
