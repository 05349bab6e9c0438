#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/DateText.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {

using Lines = std::vector<std::string>;
using Edits = std::vector<std::pair<std::size_t, std::string>>;  // job line index, new line

// A main window in its own temporary folder, on a file system whose mount
// table and volume names the test sets; a source folder holding a.txt and
// an empty backup folder, both named with spaces and non-ASCII letters; the
// clock at 7-3-2026 10:11:12. One scene per case gives every case a clean
// slate.
struct JobScene {
    TestRig rig;
    LinuxFileSystem fs{{rig.root / "mountinfo", rig.root / "by-label", false}};
    std::string source = at("Mijn bron ü"), backup = at("Back-up één");

    JobScene() {
        makeDirs(rig.root / "by-label");
        writeFile(rig.root / "mountinfo", "");
        rig.rebuildWindow(fs);
        rig.clock.current = *parseDateTime("7-3-2026 10:11:12");
        makeDirs(source);
        makeDirs(backup);
        writeFile(source + "/a.txt", "a");
    }
    AppWindow& w() { return rig.w(); }
    // Lists a volume named `name` as mounted on `folder`, in the mount table
    // and label folder the program reads.
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
    // A fresh start of the program on the same folders, the backup emptied.
    void restart() {
        rig.rebuildWindow(fs);
        rig.dialogs.shown.clear();
        std::remove((backup + "/a.txt").c_str());
    }
    void start(const std::string& commandLine) {
        w().svc.env.commandLine = commandLine;
        w().load();
    }
    void apply(const std::string& options) {
        w().applyCommandLineOptions(AppWindow::splitCommandLine(options));
    }
    // How "-if PIECE -MODE" hands the job file to the reader.
    void unattended(const std::string& piece = "-if Init.dat", const std::string& mode = "qu") {
        w().commandToken = piece;
        w().commandOption = mode;
    }

    std::string appVersion() const {
        const Version v;
        return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
               std::to_string(v.revision);
    }
    // The text with {root}, {app}, {source}, {backup}, {version}, {stamp} and
    // {time} filled in.
    std::string expand(std::string text) const {
        const std::string keys[] = {"{root}",    rig.root.path(), "{app}",    app(),
                                    "{source}",  source,          "{backup}", backup,
                                    "{version}", appVersion(),    "{stamp}",  "7-3-2026 10:11:12",
                                    "{time}",    "10:11:12"};
        for (std::size_t k = 0; k < std::size(keys); k += 2) {
            for (auto i = text.find(keys[k]); i != std::string::npos; i = text.find(keys[k], i)) {
                text.replace(i, keys[k].size(), keys[k + 1]);
            }
        }
        return text;
    }
    // The job file of a job on the scene's folders (checked mode, date filter
    // on, no dustbin) with some lines replaced, in CR LF lines, cut off after
    // `keep` lines.
    std::string jobText(const Edits& edits = {}, std::size_t keep = 12) const {
        const std::string d = "19-12-1960 12:58:58";
        const std::string text = "version =Zandvast v." + appVersion() + "\npathsource =" + source +
                                 "\npathdestination =" + backup + "\npathrecycler =\ndedato =" + d +
                                 "\ncheckdate =1\nsyncactive =0\ndoverify =1\ndustbin =0\n"
                                 "killempty =0\nvolumelabel =\n-ps " +
                                 source + " -pd " + backup + " -dd " + d + " -cd 1 -sy 0 -vf 1\n";
        Lines lines;
        for (std::size_t i = 0, end; (end = text.find('\n', i)) != std::string::npos; i = end + 1) {
            lines.push_back(text.substr(i, end - i));
        }
        for (const auto& [index, line] : edits) lines[index] = expand(line);
        lines.resize(keep);
        return crlf(lines);
    }
    static std::string crlf(const Lines& lines) {
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

    // The job's switches that are on and the mode pictures that show, with
    // "arrows?" when the arrows show another mode than the pictures.
    std::string flags() {
        const AppWindow& x = w();
        const WindowModel& ui = x.ui;
        auto on = [](bool shown, const char* name) { return shown ? std::string(" ") + name : ""; };
        return (on(x.job.synchronise, "sync") + on(x.job.verify, "verify") +
                on(x.job.useDustbin, "dustbin") + on(x.job.dustbinToTrash, "win") +
                on(x.job.dustbinToFolder, "custom") + on(x.job.removeEmptyFolders, "killempty") +
                on(x.job.noDateFilter, "nodate") + " |" +
                on(ui.syncPicture.visible, "syncPicture") +
                on(ui.noSyncPicture.visible, "noSyncPicture") +
                on(ui.syncDustbinPicture.visible, "syncDustbinPicture") +
                on(ui.noCheckPicture.visible, "noCheckPicture") +
                on(ui.dustbinPicture.visible, "dustbinPicture") + on(!arrowsMatch(ui), "arrows?"))
            .substr(1);
    }
    // The first arrow red without the check, the second dark while synchronising.
    static bool arrowsMatch(const WindowModel& ui) {
        using Lines3 = std::array<std::uint32_t, 3>;
        const auto all = [](std::uint32_t c) { return Lines3{c, c, c}; };
        return ui.verifyArrowLines ==
                   all(ui.noCheckPicture.visible ? kColourRed : kSys3DDarkShadow) &&
               ui.syncArrowLines == all(ui.syncPicture.visible || ui.syncDustbinPicture.visible
                                            ? kSys3DDarkShadow
                                            : kSys3DHighlight);
    }
};

class ConfigTest : public ::testing::Test, public JobScene {};

}  // namespace zv::test
