#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "config/ConfigFixture.h"
#include "config/Options.h"

namespace zv::test {
namespace {

const std::string kBasic = "-ps {source} -pd {backup}";

// Every option is in the README (with its summary), the man page and the completion.
TEST(CommandLineOptions, EveryOptionIsDocumented) {
    std::string readme = readFile(ZV_SOURCE_DIR "/README.md");
    std::replace(readme.begin(), readme.end(), '\n', ' ');  // a summary may wrap
    const std::string man = readFile(ZV_SOURCE_DIR "/packaging/zandvast.1"),
                      completion = readFile(ZV_SOURCE_DIR "/packaging/zandvast.bash-completion");
    for (const OptionSpec& o : kOptions) {
        const std::string name = o.name;
        EXPECT_NE(readme.find("`" + name + "` " + o.summary), std::string::npos) << name;
        EXPECT_NE(man.find("\\" + name), std::string::npos) << name;
        EXPECT_NE(completion.find("\\n" + name + "\\n"), std::string::npos) << name;
    }
}

// Refused options log their own line and run nothing; accepted ones set the job and run.
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
    // switches | pictures / from-date at the run's start
    const std::string quick = "nodate | noCheckPicture / ";
    const Case cases[] = {
        {"-pd {backup} -vf 1", "{time} Sourcepath invalid\r\n"},
        {"-PS {source} -pd {backup}", "{time} Sourcepath invalid\r\n"},
        {kBasic + " -db 1", "{time} Dustbinpath invalid\r\n"},
        // A dustbin number that is no whole number is refused, not guessed.
        {kBasic + " -pr {source} -db 1.5", "{time} Dustbinpath invalid\r\n"},
        {kBasic + " -mx veel", "{time} Maxremovals invalid\r\n"},
        {kBasic + " -mx 0", quick},  // no limit
        {kBasic + " -vl DATA1", "{stamp} Error: DATA1 <> data1\r\nVolumelabels don't match\r\n",
         labelled("data1")},
        // The weekday form keeps only the date.
        {kBasic + " -dd maandag 19-12-1960, 12:58:58 -cd 1 -sy 0 -vf 1",
         "verify | noSyncPicture / 19-12-1960 00:00:00"},
        {kBasic + " -pr {root} -db 1", "dustbin win nodate | noCheckPicture / "},
        {kBasic + " -pr {root} -db 2", "dustbin custom nodate | noCheckPicture / "},
        {kBasic + " -db 0", "sync verify killempty | syncPicture / ", allOn},
        {kBasic + " -sy 1 -vf 0", quick},  // the quick mode switches sync off
        // Values that are no numbers leave their settings alone.
        {kBasic + " -ke 0 -cd x -sy ja -vf nee", "sync verify | syncPicture / ", allOn},
        {kBasic + " -cd 0 -zz iets -Files", quick},
        {kBasic + " -cd 2", "sync verify killempty nodate | syncPicture / ", allOn},  // greyed
        // The value starts at the third character after the hyphen.
        {"-psX{source} -pd {backup}", quick},
        {kBasic + " -vl DATA1", quick, labelled("DATA1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        JobScene s;
        if (c.before) c.before(s);
        AppWindow& w = s.w();
        w.job.fromDate = w.ui.fromDateBox.text = "1-1-2020 00:00:00";
        std::string fromAtRunStart = "no run";
        s.rig.pump.hookAt = 1;
        s.rig.pump.hook = [&] { fromAtRunStart = w.job.fromDate; };
        s.apply(s.expand(c.options));
        EXPECT_EQ((w.jobRefused ? w.log.text() : s.flags() + " / " + fromAtRunStart) +
                      (s.boxes().empty() && s.ran() != w.jobRefused ? "" : " ?"),
                  s.expand(c.expected));
    }
}

// Both spellings, the last of a repeat, and line 12 in its own order (empty optionals out).
TEST(CommandLineOptions, ValuesAndLineTwelve) {
    auto values =
        collectOptionValues({"InitFile", "-ps /a", "pd /b", "-sy 1", "-sy 0", "-mx 5", "-vl X"});
    ASSERT_TRUE(values);
    EXPECT_EQ(savedOptionLine(*values), "-ps /a -pd /b -dd  -cd  -sy 0 -vf  -ke  -vl X -mx 5");
    EXPECT_FALSE(collectOptionValues({"InitFile", "-ps"}));
    EXPECT_TRUE(collectOptionValues({"-ps"}));  // the program's own token
}

}  // namespace
}  // namespace zv::test
