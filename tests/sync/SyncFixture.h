#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "app/AppWindow.h"
#include "app/RunPreflight.h"
#include "platform/Attributes.h"
#include "platform/DateText.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestRig.h"
#include "sync/SyncWalk.h"

namespace zv::test {

// A source folder, a backup folder and a dustbin folder in a fresh temporary
// folder, with a window set up for a synchronising run that reaches files
// through a fault-injecting wrapper (no faults until a test adds some).
class SyncFixture : public ::testing::Test {
  protected:
    SyncFixture() {
        makeDirs(src);
        makeDirs(dst);
        freshWindow(faulty);
    }

    AppWindow& w() { return rig.w(); }
    void freshWindow(FileSystem& fs) {
        rig.rebuildWindow(fs);
        w().job.source = src;
        w().job.backup = dst;
        w().ui.sourceBox.text = src;
        w().job.verify = w().job.synchronise = true;
    }
    void useDustbinFolder(const std::string& path) {
        makeDirs(bin);
        w().job.useDustbin = w().job.dustbinToFolder = true;
        w().job.dustbinPath = path;
    }

    // The synchronisation as the run driver calls it, on the run's folders
    // resolved as it resolves them (where they can be).
    void sync() {
        (void)resolveRunFolders(w());
        RunContext run = rig.walkContext();
        syncRootFiles(run, w().job.backup, w().job.source);
        syncSubfolders(run, w().job.backup, w().job.source);
    }

    // Files below `folder`, each holding its own relative path.
    static void put(const std::string& folder, std::initializer_list<const char*> files) {
        for (const char* f : files) writeFile(folder + "/" + f, f);
    }
    // Where the dustbin layout puts a backup file: dustbin + source box + relative path.
    std::string inBin(const std::string& relative) const { return bin + src + "/" + relative; }
    static bool exists(const std::string& path) {
        return std::filesystem::exists(std::filesystem::symlink_status(path));
    }
    void setAttributes(const std::string& path, std::uint32_t attributes) {
        ASSERT_TRUE(rig.fs.setAttributes(path, attributes).ok()) << path;
    }
    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0;
        EXPECT_TRUE(rig.fs.getAttributes(path, a).ok()) << path;
        return a;
    }
    long logCount(const std::string& part) const {
        return std::ranges::count_if(rig.logLines(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        });
    }

    TestRig rig;
    FaultInjectingFileSystem faulty{rig.fs};
    std::string src = rig.root / "src";
    std::string dst = rig.root / "dst";
    std::string bin = rig.root / "bin";
};

}  // namespace zv::test
