#include <gtest/gtest.h>

#include "platform/Attributes.h"
#include "support/TestRig.h"
#include "ui/DustbinWindow.h"

namespace zv::test {
namespace {

// OK in the dialog of a job whose dustbin is the marked folder
// <root>/oude-bak, with a volume SCHIJF mounted at <root>/media/SCHIJF. The
// recycle bin or a new folder is taken and saved; an existing folder is
// taken, and saved by the next confirmation. The old dustbin keeps its mark
// only while it still is. (Texts and gestures: see the widget tests.)
TEST(DustbinDialog, OKTakesTheRecycleBinOrAFolder) {
    const char* kAsk = "Map bestaat niet. Maken ?";
    const char* kBin = "<RECYCLER>";
    const char* kFull = "Volledige padnaam S.V.P";
    // Typed (kBin: the recycle bin chosen), the answer to a question, the last
    // box shown, the new dustbin (none: the dialog stays open), saved.
    const std::tuple<std::string, MessageAnswer, std::string, std::string, bool> cases[] = {
        {"SCHIJF", MessageAnswer::No, kFull, "", false},
        {"media/SCHIJF", MessageAnswer::No, kFull, "", false},
        {"/", MessageAnswer::No, kFull, "", false},
        {"nieuw", MessageAnswer::No, kAsk, "", false},
        {"bestand/bak", MessageAnswer::Yes, "Kan map niet maken.", "", false},
        {"nieuw/diep/bak", MessageAnswer::Yes, kAsk, "nieuw/diep/bak", true},
        {"nieuwe-bak", MessageAnswer::No, "", "nieuwe-bak", false},
        {"oude-bak", MessageAnswer::No, "", "oude-bak", false},
        {"SCHIJF/Bak", MessageAnswer::No, "", "media/SCHIJF/Bak", false},
        {kBin, MessageAnswer::No, "", kBin, true}};
    for (const auto& [typedText, answer, message, storedText, saved] : cases) {
        SCOPED_TRACE(typedText);
        TestRig rig;
        AppWindow& w = rig.w();
        for (const char* folder : {"oude-bak", "media/SCHIJF/Bak", "nieuwe-bak"})
            makeDirs(rig.root / folder);
        writeFile(rig.root / "bestand", "x");
        const std::string old = rig.root / "oude-bak";
        ASSERT_TRUE(rig.fs.setAttributes(old, kAttrDirectory | kAttrReadOnly).ok());
        const auto marked = [&](const std::string& folder) {
            std::uint32_t attributes = 0;
            return rig.fs.getAttributes(folder, attributes).ok() && (attributes & kAttrReadOnly);
        };
        // Relative texts stand for folders in the test's own tree.
        const auto full = [&](const std::string& s) {
            return s.empty() || s == "/" || s == kBin || s.starts_with("SCHIJF") ? s : rig.root / s;
        };
        const std::string typed = full(typedText), stored = full(storedText);
        w.driveList = {rig.root / "media/SCHIJF:=SCHIJF"};
        w.job.dustbinToFolder = true;
        w.job.dustbinPath = old;
        w.job.dustbinAsWritten = "oude bak";  // a folder job opens as typed
        DustbinWindow d(w);
        d.load();
        EXPECT_EQ(std::tie(d.dustbinChoice, d.folderBox.enabled, d.folderBox.text),
                  std::make_tuple(2, true, "oude bak"));
        const bool existed = rig.fs.folderExists(typed), bin = typedText == kBin;
        bin ? d.dustbinChoiceClicked(1) : void(d.folderBox.text = typed);
        rig.dialogs.script(answer);
        d.okClicked();
        const auto& shown = rig.dialogs.shown;
        EXPECT_EQ(shown.empty() ? "" : shown.back().text, message);
        if (!shown.empty()) {
            EXPECT_EQ(shown.back().style, message == kAsk ? MessageStyle::YesNo : MessageStyle::Ok);
        }
        EXPECT_EQ(std::make_pair(d.closed, rig.fs.fileExists(rig.appFolder() + "/Init.dat")),
                  std::make_pair(!stored.empty(), saved));
        if (stored.empty()) {
            EXPECT_EQ(std::tie(w.job.dustbinPath, d.focus),
                      std::make_tuple(old, message == kAsk ? "folderBox" : ""));
            EXPECT_EQ(std::make_pair(rig.fs.folderExists(typed), marked(old)),
                      std::make_pair(existed, true));
            continue;
        }
        EXPECT_EQ(std::tie(w.job.dustbinToFolder, w.job.dustbinToTrash, w.job.dustbinPath,
                           w.job.dustbinAsWritten, w.ui.dustbinPicture.toolTip),
                  std::make_tuple(!bin, bin, bin ? "" : stored, bin ? "" : typed, stored));
        EXPECT_EQ(std::make_pair(marked(stored), marked(old)), std::make_pair(!bin, stored == old));
    }
}

}  // namespace
}  // namespace zv::test
