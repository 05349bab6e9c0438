#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

class InitFileWriter : public ConfigTest {
  protected:
    std::string initFile() const { return readFile(app() + "/Init.dat"); }
    // A job as the window holds it after the user confirmed it.
    void fillWindow() {
        w().ui.sourceBox.text = source;
        w().ui.backupBox.text = backup;
        w().ui.fromDateBox.text = "1-2-2026 03:04:05";
        w().ui.dateFilterBox.value = 1;
        w().job.synchronise = w().job.verify = w().job.removeEmptyFolders = true;
    }
};

// Without a job file the default job is shown, and written only once confirmed.
TEST_F(InitFileWriter, DefaultJob) {
    label(app(), "SYSTEM");
    ASSERT_EQ(w().readJobFile(), 0);
    EXPECT_EQ(flags() + w().job.source, "| noCheckPicture");
    EXPECT_FALSE(rig.fs.fileExists(app() + "/Init.dat"));
    w().saveJobOnOk();
    const std::string a = app(), text = initFile();
    EXPECT_EQ(text.substr(text.rfind("\r\n-ps ") + 2),
              "-ps " + a + " -pd " + a +
                  "/Backup -dd 19-12-1960 12:58:58 -cd 1 -sy 0 -vf 0 -ke 0 -vl SYSTEM\r\n");
}

// Line 9's dustbin and line 12's "-db" numbers; a greyed date filter is off in line 6 only.
TEST_F(InitFileWriter, DustbinAndDateFilterNumbers) {
    const std::string tail = " -dd 1-2-2026 03:04:05 -cd ";
    const std::pair<std::string, std::string> cases[] = {
        {"use win bin",
         "checkdate =1 dustbin =2 / -pr {root}/bak" + tail + "1 -sy 1 -vf 1 -db 1 -ke 1"},
        {"use", "checkdate =1 dustbin =1 /" + tail + "1 -sy 1 -vf 1 -db 1 -ke 1"},
        {"custom", "checkdate =1 dustbin =0 /" + tail + "1 -sy 1 -vf 1 -db 2 -ke 1"},
        {"grey", "checkdate =0 dustbin =0 /" + tail + "2 -sy 1 -vf 1 -ke 1"},
    };
    for (const auto& [set, expected] : cases) {
        SCOPED_TRACE(set);
        rig.rebuildWindow(fs);
        fillWindow();
        w().job.useDustbin = set.starts_with("use");
        w().job.dustbinToTrash = set.find("win") != std::string::npos;
        w().job.dustbinToFolder = set == "custom";
        if (set.ends_with("bin")) w().job.dustbinPath = w().job.dustbinAsWritten = at("bak");
        if (set == "grey") w().ui.dateFilterBox.value = 2;
        w().saveJobOnOk();
        const std::string text = initFile();
        const auto line = [&](const std::string& key) {
            const auto at = text.find("\r\n" + key) + 2;
            return text.substr(at, text.find("\r\n", at) - at);
        };
        EXPECT_EQ(line("checkdate") + " " + line("dustbin") + " /" +
                      line("-ps").substr(("-ps " + source + " -pd " + backup).size()),
                  expand(expected));
    }
}

// Read back, a job is the same and saved anew (never in place) to the same bytes.
TEST_F(InitFileWriter, RoundTripGivesTheSameJob) {
    const std::string bin = at("prullen bak");
    makeDirs(bin);
    label(backup, "BACKUP");
    w().readDriveList();
    fillWindow();
    w().ui.backupBox.text = "BACKUP";
    w().job.useDustbin = w().job.dustbinToFolder = true;
    w().job.dustbinPath = w().job.dustbinAsWritten = bin;
    w().job.maxRemovals = 0;  // no limit, kept as such
    w().saveJobOnOk();
    const std::string first = initFile(), path = app() + "/Init.dat";
    EXPECT_NE(first.find("\r\npathdestination =BACKUP\r\n"), std::string::npos);
    struct stat before = {}, after = {};
    ::stat(path.c_str(), &before);
    rig.rebuildWindow(fs);
    w().readDriveList();
    ASSERT_EQ(w().readJobFile(), 0);
    EXPECT_EQ(
        w().job.backup + " " + std::to_string(w().job.maxRemovals) + " " + flags(),
        backup + " 0 sync verify dustbin custom killempty | syncDustbinPicture dustbinPicture");
    w().saveJobOnOk();
    ::stat(path.c_str(), &after);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(initFile(), first);
}

}  // namespace
}  // namespace zv::test
