#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/frmVergelijker.h"
#include "copy/QuickCopy.h"
#include "copy/TreeCopy.h"
#include "platform/Attributes.h"
#include "platform/DateText.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {

// A window with a source folder src/ and an empty backup folder dst/ in a
// fresh temporary folder. The from-date lies an hour after the test began,
// so it is after the birth time of every file the test makes; "old" and
// "new" files get their modification times set around it.
class CopyFixture : public ::testing::Test {
  protected:
    CopyFixture() {
        from = std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count() +
               3600;
        src = rig.root / "src";
        dst = rig.root / "dst";
        makeDirs(src);
        makeDirs(dst);
        applyJob();
    }

    frmVergelijker& w() { return rig.w(); }

    // Reaches files through the fault-injecting wrapper from now on.
    void useFaulty() {
        rig.rebuildWindow(faulty);
        applyJob();
    }

    void applyJob() {
        w().SourcePath = src;
        w().DestinationPath = dst;
        w().FromDate = formatDateTime(instant(from));
        w().NoDateCheck = false;
        w().DoVerify = true;
    }

    static DateTime instant(long long seconds) { return DateTime(std::chrono::seconds(seconds)); }

    std::string S(const std::string& rel) const { return src + "/" + rel; }
    std::string D(const std::string& rel) const { return dst + "/" + rel; }

    // Modified and accessed a day before the from-date.
    void oldFile(const std::string& path, const std::string& content = "old") {
        writeFile(path, content);
        setTimes(path, from - 86400, from - 86400);
    }
    // Modified and accessed an hour after the from-date.
    void newFile(const std::string& path, const std::string& content = "new") {
        writeFile(path, content);
        setTimes(path, from + 3600, from + 3600);
    }
    // A folder whose modification time lies before the from-date (its birth
    // time is the test's start, also before it).
    void oldFolder(const std::string& path) {
        makeDirs(path);
        setTimes(path, from - 86400, from - 86400);
    }

    static bool isFile(const std::string& path) {
        struct stat st;
        return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    static bool isFolder(const std::string& path) {
        struct stat st;
        return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    static bool isThere(const std::string& path) {
        struct stat st;
        return lstat(path.c_str(), &st) == 0;
    }
    static struct stat statOf(const std::string& path) {
        struct stat st {};
        lstat(path.c_str(), &st);
        return st;
    }

    std::vector<std::string> log() const { return rig.logLines(); }
    bool logHas(const std::string& line) const {
        for (const std::string& l : rig.logLines())
            if (l == line) return true;
        return false;
    }
    bool logContains(const std::string& part) const {
        return w_const().RunLog.find(part) != std::string::npos;
    }
    const frmVergelijker& w_const() const { return *rig.window; }

    // The walks as the run driver calls them.
    void checkedCopy() {
        CopyTreeRoot(w(), w().SourcePath, w().DestinationPath);
        CopySubTrees(w(), w().SourcePath, w().DestinationPath);
    }
    void quickCopy() {
        QuickCopyRoot(w(), w().SourcePath, w().DestinationPath);
        QuickCopySubfolders(w(), w().SourcePath, w().DestinationPath);
    }

    TestRig rig;
    FaultInjectingFileSystem faulty{rig.fs};
    std::string src;
    std::string dst;
    long long from = 0;
};

}  // namespace zv::test
