#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppWindow.h"
#include "app/RunPreflight.h"
#include "copy/KillEmpty.h"
#include "platform/DateText.h"
#include "platform/PlatformTest.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The files, links and empty folders ("x/") below a folder, sorted.
inline Names tree(const std::string& root) {
    Names names;
    for (auto it = fs::recursive_directory_iterator(root); it != decltype(it)(); ++it) {
        const bool folder = it->is_directory() && !it->is_symlink();
        if (!folder || fs::is_empty(it->path()))
            names.push_back(it->path().string().substr(root.size() + 1) + (folder ? "/" : ""));
    }
    std::ranges::sort(names);
    return names;
}

// A window over src/ and dst/, reaching files through a fault-injecting wrapper.
class CopyFixture : public ::testing::Test {
  protected:
    CopyFixture() { freshWindow(faulty); }
    AppWindow& w() { return rig.w(); }
    // A new window (counts, log and break cleared) over the folders, made where missing.
    virtual void freshWindow(FileSystem& fs) {
        makeDirs(src);
        makeDirs(dst);
        rig.rebuildWindow(fs);
        w().job.source = w().ui.sourceBox.text = src;
        w().job.backup = dst;
    }
    void fresh(bool emptied = true) {
        if (emptied) fs::remove_all(src), fs::remove_all(dst);
        freshWindow(faulty);
    }
    std::string S(const std::string& rel) const { return src + "/" + rel; }
    std::string D(const std::string& rel) const { return dst + "/" + rel; }
    static void put(const std::string& folder, const Names& files) {
        for (const std::string& f : files) writeFile(folder + "/" + f, f);
    }
    void setAttributes(const std::string& path, std::uint32_t attributes) {
        ASSERT_TRUE(rig.fs.setAttributes(path, attributes).ok()) << path;
    }
    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0;
        EXPECT_TRUE(rig.fs.getAttributes(path, a).ok()) << path;
        return a;
    }
    void killEmpty() { killEmptyRoot(w().run, dst), killEmptySubfolders(w().run, dst); }
    long logCount(const std::string& text) const {
        return std::ranges::count_if(rig.logLines(),
                                     [&](auto& l) { return l.find(text) != l.npos; });
    }
    std::string timeText() const { return formatTime(rig.clock.current); }

    TestRig rig;
    FaultInjectingFileSystem faulty{rig.fs};
    std::string src = rig.root / "src";
    std::string dst = rig.root / "dst";
};

}  // namespace zv::test
