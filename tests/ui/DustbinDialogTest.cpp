#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Attributes.h"
#include "support/TestRig.h"
#include "ui/DustbinWindow.h"

namespace zv::test {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// A job whose dustbin is the marked folder <root>/oude-bak, with a volume
// SCHIJF mounted at <root>/media/SCHIJF.
struct OldDustbin : TestRig {
    OldDustbin() {
        makeDirs(old);
        makeDirs(root / "media/SCHIJF/Bak");
        EXPECT_TRUE(fs.setAttributes(old, kAttrDirectory | kAttrReadOnly).ok());
        w().driveList = {root / "media/SCHIJF:=SCHIJF"};
        w().job.dustbinToFolder = true;
        w().job.dustbinPath = w().job.dustbinAsWritten = old;
    }
    bool marked(const std::string& folder) {
        std::uint32_t attributes = 0;
        return fs.getAttributes(folder, attributes).ok() && (attributes & kAttrReadOnly);
    }
    bool saved() const { return Exists(appFolder() + "/Init.dat"); }
    const std::string old = root / "oude-bak";
};

// The options set the box; a locked box opens no picker; a folder job opens
// with its path as typed. (Texts and gestures: see the widget tests.)
TEST(DustbinDialog, TheOptionsSetTheBox) {
    TestRig rig;
    rig.w().job.dustbinPath = "/media/u/SCHIJF/Bak";
    DustbinWindow d(rig.w());
    d.load();
    EXPECT_EQ(d.dustbinChoice, 0);
    d.pathBoxDoubleClicked();
    EXPECT_FALSE(d.folderPicker.visible);
    d.dustbinChoiceClicked(2);
    EXPECT_EQ(std::tie(d.folderBox.enabled, d.folderBox.backColour, d.folderBox.text),
              std::make_tuple(true, kColourWhite, "/media/u/SCHIJF/Bak"));
    // The picker stands in for the box, the choices and OK until it ends.
    const auto shown = [&d] {
        return std::vector<bool>{d.folderBox.visible, d.dustbinChoices[1].visible,
                                 d.dustbinChoices[2].visible, d.okButton.visible,
                                 d.folderPicker.visible};
    };
    for (const bool chosen : {false, true}) {
        d.pathBoxDoubleClicked();
        EXPECT_EQ(shown(), (std::vector<bool>{false, false, false, false, true}));
        d.pickerFolder = "/media/u/SCHIJF";
        chosen ? d.pickerChoiceEnded() : d.pickerChoiceCancelled();
        EXPECT_EQ(shown(), (std::vector<bool>{true, true, true, true, false}));
        EXPECT_EQ(d.folderBox.text, chosen ? "/media/u/SCHIJF" : "/media/u/SCHIJF/Bak");
    }
    d.dustbinChoiceClicked(1);
    EXPECT_EQ(std::tie(d.folderBox.enabled, d.folderBox.backColour, d.folderBox.text),
              std::make_tuple(false, kSysInactiveCaption, ""));
    EXPECT_EQ(std::tie(d.dustbinChoice, d.dustbinChoices[2].value), std::make_tuple(1, 0));
    rig.w().job.dustbinToFolder = true;
    rig.w().job.dustbinAsWritten = "SCHIJF/Bak";
    DustbinWindow folderJob(rig.w());
    folderJob.load();
    EXPECT_EQ(
        std::tie(folderJob.dustbinChoice, folderJob.folderBox.enabled, folderJob.folderBox.text),
        std::make_tuple(2, true, "SCHIJF/Bak"));
}

TEST(DustbinDialog, TheRecycleBinIsSavedAndTheOldFolderUnmarked) {
    OldDustbin rig;
    AppWindow& w = rig.w();
    DustbinWindow d(w);
    d.load();
    d.dustbinChoiceClicked(1);
    d.okClicked();
    EXPECT_TRUE(d.closed);
    EXPECT_EQ(std::tie(w.job.dustbinToFolder, w.job.dustbinToTrash, w.job.dustbinPath,
                       w.job.dustbinAsWritten),
              std::make_tuple(false, true, "", ""));
    EXPECT_EQ(w.ui.dustbinPicture.toolTip, "<RECYCLER>");
    EXPECT_FALSE(rig.marked(rig.old));
    EXPECT_TRUE(rig.saved());
}

// Every branch of OK with a folder typed in the box. A new folder is made,
// marked and saved; an existing one is marked, and the job is saved by the
// next confirmation. The old dustbin keeps its mark only while it still is.
TEST(DustbinDialog, OKWithAFolder) {
    const char* kAsk = "Map bestaat niet. Maken ?";
    const struct {
        std::string typed;
        MessageAnswer answer;
        const char* message;  // the last box shown, if any
        std::string stored;   // the new dustbin; empty: the dialog stays open
        bool saved;
    } cases[] = {
        {"SCHIJF", MessageAnswer::No, "Volledige padnaam S.V.P", "", false},
        {"media/SCHIJF", MessageAnswer::No, "Volledige padnaam S.V.P", "", false},
        {"/", MessageAnswer::No, "Volledige padnaam S.V.P", "", false},
        {"nieuw", MessageAnswer::No, kAsk, "", false},
        {"bestand/bak", MessageAnswer::Yes, "Kan map niet maken.", "", false},
        {"nieuw/diep/bak", MessageAnswer::Yes, kAsk, "nieuw/diep/bak", true},
        {"nieuwe-bak", MessageAnswer::No, "", "nieuwe-bak", false},
        {"oude-bak", MessageAnswer::No, "", "oude-bak", false},
        {"SCHIJF/Bak", MessageAnswer::No, "", "media/SCHIJF/Bak", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        OldDustbin rig;
        makeDirs(rig.root / "nieuwe-bak");
        writeFile(rig.root / "bestand", "x");
        // Relative texts stand for folders in the test's own tree.
        const auto full = [&](const std::string& s) {
            return s.empty() || s == "/" || s.rfind("SCHIJF", 0) == 0 ? s : rig.root / s;
        };
        const std::string typed = full(c.typed), stored = full(c.stored);
        const bool existed = Exists(typed);
        DustbinWindow d(rig.w());
        d.load();
        d.folderBox.text = typed;
        rig.dialogs.script(c.answer);
        d.okClicked();
        const auto& shown = rig.dialogs.shown;
        EXPECT_EQ(shown.empty() ? "" : shown.back().text, c.message);
        if (!shown.empty()) {
            EXPECT_EQ(shown.back().style,
                      c.message == kAsk ? MessageStyle::YesNo : MessageStyle::Ok);
        }
        EXPECT_EQ(d.closed, !stored.empty());
        EXPECT_EQ(rig.saved(), c.saved);
        if (stored.empty()) {
            EXPECT_EQ(Exists(typed), existed);
            EXPECT_EQ(rig.w().job.dustbinPath, rig.old);
            EXPECT_TRUE(rig.marked(rig.old));
            if (c.message == kAsk) {
                EXPECT_EQ(d.focus, "folderBox");
            }
            continue;
        }
        const AppWindow& w = rig.w();
        EXPECT_EQ(std::tie(w.job.dustbinToFolder, w.job.dustbinToTrash, w.job.dustbinPath,
                           w.job.dustbinAsWritten),
                  std::make_tuple(true, false, stored, typed));
        EXPECT_EQ(w.ui.dustbinPicture.toolTip, stored);
        EXPECT_TRUE(rig.marked(stored));
        EXPECT_EQ(rig.marked(rig.old), stored == rig.old);
    }
}

}  // namespace
}  // namespace zv::test
