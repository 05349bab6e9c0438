#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "config/VersionText.h"
#include "platform/DateText.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {

using Lines = std::vector<std::string>;
using Edits = std::vector<std::pair<std::size_t, std::string>>;  // job line index, new line

// A window over a mount table the test sets, a source with a.txt, an empty backup.
struct JobScene {
    TestRig rig;
    LinuxFileSystem fs{{rig.root / "mountinfo", rig.root / "by-label", false}};
    std::string source = at("Mijn bron ü"), backup = at("Back-up één");

    JobScene() {
        makeDirs(rig.root / "by-label");
        writeFile(rig.root / "mountinfo", "");
        rig.rebuildWindow(fs);
        rig.clock.current = *parseDateTime("7-3-2026 10:11:12");
        makeDirs(backup);
        writeFile(source + "/a.txt", "a");
    }
    AppWindow& w() { return rig.w(); }
    // Lists a volume `name` as mounted on `folder`.
    void label(const std::string& folder, const std::string& name) {
        std::string point;
        for (char c : folder) point += c == ' ' ? std::string("\\040") : std::string(1, c);
        const std::string table = rig.root / "mountinfo";
        writeFile(table,
                  readFile(table) + "1 0 0:1 / " + point + " rw - ext4 /dev/" + name + " rw\n");
        ASSERT_EQ(symlink(("/dev/" + name).c_str(), (rig.root / "by-label/" + name).c_str()), 0);
    }
    std::string app() const { return rig.appFolder(); }
    std::string at(const std::string& relative) const { return rig.root / relative; }
    // Whether a run copied a.txt into the job's backup folder.
    bool ran() { return rig.fs.fileExists(w().job.backup + "/a.txt"); }
    void start(const std::string& commandLine) {
        w().svc.env.commandLine = commandLine;
        w().load();
    }
    void apply(const std::string& options) {
        w().applyCommandLineOptions(AppWindow::splitCommandLine(options));
    }
    std::string appVersion() const { return versionNumber(Version()); }
    // The text with {root}, {app}, {source}, {backup}, {version}, {stamp}, {time} filled in.
    std::string expand(std::string text) const {
        const std::pair<std::string, std::string> keys[] = {
            {"{root}", rig.root.path()}, {"{app}", app()},
            {"{source}", source},        {"{backup}", backup},
            {"{version}", appVersion()}, {"{stamp}", "7-3-2026 10:11:12"},
            {"{time}", "10:11:12"}};
        for (const auto& [key, value] : keys)
            for (auto i = text.find(key); i != std::string::npos; i = text.find(key, i))
                text.replace(i, key.size(), value);
        return text;
    }
    // The CR LF job file of a checked job, some lines replaced, cut off after `keep`.
    std::string jobText(const Edits& edits = {}, std::size_t keep = 12) const {
        const std::string d = "19-12-1960 12:58:58";
        Lines lines{"version =Zandvast v." + appVersion(), "pathsource =" + source,
                    "pathdestination =" + backup, "pathrecycler =", "dedato =" + d};
        for (const char* line : {"checkdate =1", "syncactive =0", "doverify =1", "dustbin =0",
                                 "killempty =0", "volumelabel ="})
            lines.push_back(line);
        lines.push_back("-ps " + source + " -pd " + backup + " -dd " + d + " -cd 1 -sy 0 -vf 1");
        for (const auto& [index, line] : edits) lines[index] = expand(line);
        lines.resize(keep);
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        return text;
    }
    void writeJob(const std::string& text, const std::string& name = "Init.dat") {
        writeFile(app() + "/" + name, text);
    }
    std::string errorLog() const { return readFile(app() + "/Error.Log"); }
    Lines log() const { return rig.logLines(); }
    Lines boxes() const {
        Lines texts;
        for (const auto& box : rig.dialogs.shown) texts.push_back(box.text);
        return texts;
    }
    // The job's switches that are on and the mode pictures that show.
    std::string flags() {
        const Job& j = w().job;
        const WindowModel& ui = w().ui;
        auto on = [](bool shown, const char* name) { return shown ? std::string(" ") + name : ""; };
        return (on(j.synchronise, "sync") + on(j.verify, "verify") + on(j.useDustbin, "dustbin") +
                on(j.dustbinToTrash, "win") + on(j.dustbinToFolder, "custom") +
                on(j.removeEmptyFolders, "killempty") + on(j.noDateFilter, "nodate") + " |" +
                on(ui.syncPicture.visible, "syncPicture") +
                on(ui.noSyncPicture.visible, "noSyncPicture") +
                on(ui.syncDustbinPicture.visible, "syncDustbinPicture") +
                on(ui.noCheckPicture.visible, "noCheckPicture") +
                on(ui.dustbinPicture.visible, "dustbinPicture"))
            .substr(1);
    }
};

class ConfigTest : public ::testing::Test, public JobScene {};

}  // namespace zv::test
