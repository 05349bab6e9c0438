#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/AppWindow.h"
#include "app/RunPreflight.h"
#include "copy/QuickCopy.h"
#include "copy/TreeCopy.h"
#include "platform/Attributes.h"
#include "platform/DateText.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {

// A window over a source folder src/ and an empty backup folder dst/, reaching
// files through a fault-injecting wrapper (no faults until a test adds some).
// The from-date lies an hour after the test began, so after the birth time of
// every file the test makes; "old" and "new" files are dated around it.
class CopyFixture : public ::testing::Test {
  protected:
    enum class Walk { Checked, Quick };

    CopyFixture() {
        makeDirs(src);
        makeDirs(dst);
        freshWindow();
    }

    AppWindow& w() { return rig.w(); }
    // A new window (counts, log and break cleared) over the same folders.
    void freshWindow() {
        rig.rebuildWindow(faulty);
        w().job.source = src;
        w().job.backup = dst;
        w().job.fromDate = formatDateTime(DateTime(std::chrono::seconds(from)));
    }
    static void emptyFolder(const std::string& path) {
        std::filesystem::remove_all(path);
        makeDirs(path);
    }

    std::string S(const std::string& rel) const { return src + "/" + rel; }
    std::string D(const std::string& rel) const { return dst + "/" + rel; }
    void oldFile(const std::string& path, const std::string& content = "old") {
        writeFile(path, content);
        setTimes(path, from - 86400, from - 86400);
    }
    void newFile(const std::string& path, const std::string& content = "new") {
        writeFile(path, content);
        setTimes(path, from + 3600, from + 3600);
    }
    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0;
        EXPECT_TRUE(rig.fs.getAttributes(path, a).ok()) << path;
        return a;
    }
    static bool isThere(const std::string& path) {
        return std::filesystem::exists(std::filesystem::symlink_status(path));
    }

    bool logHas(const std::string& line) const { return std::ranges::count(rig.logLines(), line); }
    std::string timeText() const { return formatTime(rig.clock.current); }
    std::string breakLine() const {
        return formatDate(rig.clock.current) + " " + timeText() + "   -  user break";
    }

    // The walks as the run driver calls them, on the run's folders resolved
    // as it resolves them (where they can be).
    void run(Walk walk) {
        (void)resolveRunFolders(w());
        RunContext run = rig.walkContext();
        if (walk == Walk::Checked) {
            copyTreeRoot(run, w().job.source, w().job.backup);
            copySubTrees(run, w().job.source, w().job.backup);
        } else {
            quickCopyRoot(run, w().job.source, w().job.backup);
            quickCopySubfolders(run, w().job.source, w().job.backup);
        }
    }

    TestRig rig;
    FaultInjectingFileSystem faulty{rig.fs};
    std::string src = rig.root / "src";
    std::string dst = rig.root / "dst";
    long long from = std::time(nullptr) + 3600;
};

}  // namespace zv::test
