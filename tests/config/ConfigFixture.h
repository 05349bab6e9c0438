#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/LabelledFileSystem.h"
#include "platform/DateText.h"
#include "support/TestRig.h"

namespace zv::test {

// A main window in its own temporary folder, reaching files through a file
// system whose volume names the test sets.
class ConfigTest : public ::testing::Test {
  protected:
    TestRig rig;
    LabelledFileSystem lfs{rig.fs};

    void SetUp() override {
        rig.rebuildWindow(lfs);
        setClock("7-3-2026 10:11:12");
    }

    frmVergelijker& w() { return rig.w(); }
    std::string app() const { return rig.appFolder(); }
    std::string at(const std::string& relative) const { return rig.root / relative; }

    void setClock(const std::string& text) {
        const auto when = parseDateTime(text);
        ASSERT_TRUE(when.has_value()) << text;
        rig.clock.current = *when;
    }
    // A fresh window (a new start of the program) on the same folders.
    void restart(const std::string& commandLine = {}) {
        rig.rebuildWindow(lfs);
        w().svc.env.commandLine = commandLine;
    }

    std::string appVersion() const {
        const Version v;
        return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
               std::to_string(v.revision);
    }
    std::string versionLine() const { return "version =Zandvast v." + appVersion(); }

    // A job on the given folders: checked mode, date filter on, no dustbin.
    std::vector<std::string> jobLines(const std::string& source, const std::string& backup) const {
        return {versionLine(),
                "pathsource =" + source,
                "pathdestination =" + backup,
                "pathrecycler =",
                "dedato =19-12-1960 12:58:58",
                "checkdate =1",
                "syncactive =0",
                "doverify =1",
                "dustbin =0",
                "killempty =0",
                "volumelabel =",
                "-ps " + source + " -pd " + backup + " -dd 19-12-1960 12:58:58 -cd 1 -sy 0 -vf 1"};
    }
    static std::string crlf(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        return text;
    }
    void writeJob(const std::vector<std::string>& lines, const std::string& name = "Init.dat") {
        writeFile(app() + "/" + name, crlf(lines));
    }
    std::string errorLog() const { return readFile(app() + "/Error.Log"); }
    std::vector<std::string> log() const { return rig.logLines(); }
    // The date and time the clock shows, as log lines begin.
    std::string stamp() const {
        return formatDate(rig.clock.current) + " " + formatTime(rig.clock.current);
    }
    std::string time() const { return formatTime(rig.clock.current); }
};

}  // namespace zv::test
