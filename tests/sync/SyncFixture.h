#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/frmVergelijker.h"
#include "platform/Attributes.h"
#include "support/TestRig.h"
#include "sync/SyncWalk.h"

namespace zv::test {

// A source folder, a backup folder and a dustbin folder in a fresh temporary
// folder, with a window set up for a synchronising run.
class SyncFixture : public ::testing::Test {
  protected:
    SyncFixture() {
        makeDirs(src);
        makeDirs(dst);
        configure(rig.w());
    }

    void configure(frmVergelijker& w) {
        w.SourcePath = src;
        w.DestinationPath = dst;
        w.ui.Text1[0].text = src;
        w.DoVerify = true;
        w.SyncActive = true;
    }

    frmVergelijker& w() { return rig.w(); }

    // The synchronisation as the run driver calls it.
    void sync() {
        w().BytesDone = 0;
        SyncRootFiles(w(), w().DestinationPath, w().SourcePath);
        SyncSubfolders(w(), w().DestinationPath, w().SourcePath);
    }

    void useDustbinFolder() {
        makeDirs(bin);
        w().UseDustbin = true;
        w().DustBinCustom = true;
        w().DustBinWin = false;
        w().DustBinPath = bin;
    }

    void useTrash() {
        w().UseDustbin = true;
        w().DustBinWin = true;
        w().DustBinCustom = false;
    }

    // Where the dustbin layout puts a backup file given relative to the
    // backup root: dustbin + source box path + relative path.
    std::string inBin(const std::string& relative) const { return bin + src + "/" + relative; }

    static bool exists(const std::string& path) {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    }

    void setAttributes(const std::string& path, std::uint32_t attributes) {
        ASSERT_TRUE(rig.fs.setAttributes(path, attributes).ok()) << path;
    }

    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0;
        EXPECT_TRUE(rig.fs.getAttributes(path, a).ok()) << path;
        return a;
    }

    int logCount(const std::string& part) const {
        int n = 0;
        for (const std::string& line : rig.logLines())
            if (line.find(part) != std::string::npos) ++n;
        return n;
    }

    TestRig rig;
    std::string src = rig.root / "src";
    std::string dst = rig.root / "dst";
    std::string bin = rig.root / "bin";
};

inline constexpr const char* kBreakText = "   -  user break";

}  // namespace zv::test
