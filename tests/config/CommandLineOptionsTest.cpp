#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

const std::string kBasic = "-ps {source} -pd {backup}";

// Every refusal closes the window with its own log line; nothing runs and
// nothing is asked.
TEST(CommandLineOptions, Refusals) {
    const std::string labels = "{stamp} Error: DATA1 <> ";
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"-pd {backup} -vf 1", "{time} Sourcepath invalid", nullptr},
        {"-ps NODISK/Data -pd {backup}", "{time} Sourcepath invalid", nullptr},
        {"-PS {source} -pd {backup}", "{time} Sourcepath invalid", nullptr},
        {"-ps {source} -vf 1", "{time} Targetpath invalid", nullptr},
        {kBasic + " -db 1", "{time} Dustbinpath invalid", nullptr},
        {kBasic + " -pr <RECYCLER> -db 1", "{time} Dustbinpath invalid", nullptr},
        // A dustbin number that is no whole number is refused, not guessed.
        {kBasic + " -pr {source} -db twee", "{time} Dustbinpath invalid", nullptr},
        {kBasic + " -pr {source} -db 1.5", "{time} Dustbinpath invalid", nullptr},
        {kBasic + " -mx veel", "{time} Maxremovals invalid", nullptr},
        {kBasic + " -vl DATA1", labels + "DATA2\r\nVolumelabels don't match", "DATA2"},
        {kBasic + " -vl DATA1", labels + "data1\r\nVolumelabels don't match", "data1"},
    };
    for (const auto& [options, log, backupLabel] : cases) {
        SCOPED_TRACE(options);
        JobScene s;
        if (backupLabel) s.label(s.backup, backupLabel);
        s.apply(s.expand(options));
        EXPECT_EQ(s.w().log.text(), s.expand(log) + "\r\n");
        EXPECT_TRUE(s.w().ui.closed && s.w().jobRefused);
        EXPECT_FALSE(s.w().unattended || s.ran());
        EXPECT_TRUE(s.boxes().empty());
    }
}

// Accepted options set the job and run it, hidden, from the given date.
TEST(CommandLineOptions, AcceptedOptions) {
    struct Case {
        std::string options{};
        std::string state{};  // switches | pictures / sync tooltip / from-date
        std::function<void(JobScene&)> before{};
    };
    auto allOn = [](JobScene& s) {
        AppWindow& x = s.w();
        x.ui.dateFilterBox.value = 1;
        x.job.synchronise = x.job.verify = x.job.useDustbin = x.job.dustbinToTrash =
            x.job.dustbinToFolder = true;
        x.job.removeEmptyFolders = true;
    };
    // Exactly one mode picture is shown, and the sync tooltip.
    const std::string on = " / synchroniseren (ingeschakeld) / ";
    const std::string off = " / synchroniseren (uitgeschakeld) / ";
    const std::string date = "19-12-1960 12:58:58";
    const Case cases[] = {
        {kBasic + " -dd " + date + " -cd 1 -sy 0 -vf 1", "verify | noSyncPicture" + off + date},
        {kBasic + " -dd Mon 19-12-1960, 12:58:58",
         "nodate | noCheckPicture" + off + "19-12-1960 00:00:00"},
        {kBasic + " -dd morgen", "nodate | noCheckPicture" + off},
        {kBasic + " -pr {root} -db 2 -vf 1 -sy 1",
         "sync verify dustbin custom nodate | syncPicture" + on},
        {kBasic + " -pr {root} -db 1", "dustbin win nodate | noCheckPicture" + off},
        {kBasic + " -db 0", "sync verify killempty | syncPicture" + on, allOn},
        {kBasic + " -sy 1 -vf 0",
         "nodate | noCheckPicture" + on},  // the quick mode switches sync off
        {kBasic + " -ke 1", "killempty nodate | noCheckPicture" + off},
        // Values that are no numbers leave their settings alone.
        {kBasic + " -ke 0 -cd x -sy ja -vf nee", "sync verify | syncPicture" + on, allOn},
        {kBasic + " -cd 0 -zz iets -Files", "nodate | noCheckPicture" + off},
        {"-ps /nergens -pd {backup} -ps {source}", "nodate | noCheckPicture" + off},
        // The value starts at the third character after the hyphen.
        {"-psX{source} -pd {backup}", "nodate | noCheckPicture" + off},
        {kBasic + " -vl DATA1", "nodate | noCheckPicture" + off,
         [](JobScene& s) { s.label(s.backup, "DATA1"); }},
        // A missing backup folder is made, one level.
        {"-ps {source} -pd {root}/nieuw", "nodate | noCheckPicture" + off},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        JobScene s;
        if (c.before) c.before(s);
        s.w().job.fromDate = s.w().ui.fromDateBox.text = "1-1-2020 00:00:00";
        std::string dateAtRunStart = "no run";
        std::string fromAtRunStart = "no run";
        s.rig.pump.hookAt = 1;
        s.rig.pump.hook = [&] {
            dateAtRunStart = s.w().ui.fromDateBox.text;
            fromAtRunStart = s.w().job.fromDate;
        };
        s.apply(s.expand(c.options));
        EXPECT_EQ(s.flags() + " / " + s.w().ui.syncArrow.toolTip + " / " + fromAtRunStart, c.state);
        EXPECT_EQ(dateAtRunStart, fromAtRunStart);
        EXPECT_EQ(s.w().job.source, s.source);
        EXPECT_FALSE(s.w().jobRefused || s.w().ui.visible);
        EXPECT_TRUE(s.ran() && s.w().unattended && s.log().empty());
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

}  // namespace
}  // namespace zv::test
