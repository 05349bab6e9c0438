
#include <ctime>

#include "copy/CopyFixture.h"
#include "copy/QuickCopy.h"
#include "copy/TreeCopy.h"
#include "support/TreeCompare.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;
using Counts = std::array<int, 3>;  // seen, copied, failed

// The from-date lies an hour ahead, after the birth time of every file made.
class CopyWalk : public CopyFixture {
  protected:
    enum class Walk { Checked, Quick };

    CopyWalk() { freshWindow(faulty); }
    void freshWindow(FileSystem& fs) override {
        CopyFixture::freshWindow(fs);
        w().job.fromDate = formatDateTime(DateTime(from * 1s));
    }
    static void dated(const std::string& path, long long at, const std::string& content = "x") {
        writeFile(path, content);
        setTimes(path, at, at);
    }
    Counts counts() { return {w().counts.seen, w().counts.copied, w().counts.failed}; }
    std::optional<DateTime> nextFrom(DateTime start) {
        return w().nextFrom.after(start, DateTime(from * 1s));
    }
    // The walks as the run driver calls them, on the folders as it resolves them.
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

    long long from = std::time(nullptr) + 3600;
    long long before = from - 86400, after = from + 3600;
};

// What each walk copies ('1') or gives its attributes back ('r'); failures hold the date back.
TEST_F(CopyWalk, SelectsFilesByTheDateFilterAndSynchronisation) {
    const char* const names[] = {"fresh",     "kept", "absent",  "edge",
                                 "quiet/old", "odd",  "touched", "ancient"};
    for (const char* name : names) dated(S(name), before, "source");
    for (const char* name : {"fails-new", "fails-old", "fails-odd"}) dated(S(name), before);
    faulty.failOn(FsOp::CopyFile, "/fails-", kErrObjectNotAvailable);
    setTimes(S("fresh"), after, after);
    setTimes(S("edge"), from, from);  // exactly at the from-date: not new
    for (const char* name : {"kept", "touched"}) setAttributes(S(name), kAttrHidden);
    setTimes(S("quiet"), before, before);  // an old folder new in the backup
    setAttributes(S("quiet"), kAttrDirectory | kAttrHidden);
    makeDirs(S("shy"));  // hidden since its backup was made
    setAttributes(S("shy"), kAttrDirectory | kAttrHidden);
    faulty.adjustEntry = [this](const std::string& path, Entry& e) {
        if (path.ends_with("odd")) e.modified = DateTime{};  // unreadable: new every time
        if (path.ends_with("/ancient")) e.modified = e.created = kEarliestDateTime;
        if (path.ends_with("-new")) e.modified = e.created = DateTime(after * 1s + 5ms);
        // changed since the from-date (its attributes, say), or only read
        e.changed =
            DateTime((path.ends_with("touched") || path.ends_with("/shy") ? after : from) * 1s);
    };
    const struct {
        Walk walk;
        bool sync, noDateCheck;
        const char *fromDate, *copied;  // nullptr: the fixture's; per name above
    } cases[] = {{Walk::Checked, false, false, nullptr, "10000100"},
                 {Walk::Checked, true, false, nullptr, "101111r1"},
                 {Walk::Checked, false, true, nullptr, "11111111"},
                 {Walk::Checked, false, false, "geen datum", "11111111"},
                 {Walk::Quick, false, false, nullptr, "10000100"},
                 {Walk::Quick, false, false, "1-1-1000", "11111111"}};  // centuries back: all
    const DateTime start((from + 7200) * 1s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copied);
        fs::remove_all(dst);
        for (const char* name : {"kept", "touched"}) dated(D(name), before, "backup");
        chmod(D("touched").c_str(), 0444);
        makeDirs(D("shy"));
        fresh(false);
        w().job.synchronise = c.sync;
        w().job.noDateFilter = c.noDateCheck;
        if (c.fromDate) w().job.fromDate = c.fromDate;
        run(c.walk);
        for (int i = 0; i < 8; ++i) {
            const char* kept = i == 1 || i == 6 ? "backup" : "";
            EXPECT_EQ(readFile(D(names[i])), c.copied[i] == '1' ? "source" : kept) << names[i];
        }
        EXPECT_EQ(attributesOf(D("touched")) & (kAttrReadOnly | kAttrHidden),
                  c.copied[6] == '0' ? kAttrReadOnly : kAttrHidden);
        EXPECT_TRUE(!fs::exists(D("quiet")) || (attributesOf(D("quiet")) & kAttrHidden));
        EXPECT_EQ(attributesOf(D("shy")) & kAttrHidden, kAttrHidden);
        const int notCopied = int(std::ranges::count(std::string_view(c.copied), '0'));
        EXPECT_EQ(counts(), (Counts{11, 8 - notCopied, 2 + (c.copied[2] == '1')}));
        EXPECT_TRUE(c.fromDate ||
                    nextFrom(start) == (c.noDateCheck ? start : DateTime(after * 1s)));
    }
}

// A new branch gets what is new by its own dates; folders the attributes of non-system ones.
TEST_F(CopyWalk, ANewBranchGetsWhatIsNewByDate) {
    for (const char* f : {"A/old.txt", "A/Quiet/old.txt", "A/Old/Older/same.txt", "A/Moved/old"})
        dated(S(f), before);
    dated(S("A/new.txt"), after);
    dated(S("A/Old/Older/changed.txt"), after);
    setTimes(S("A/Moved"), from + 60, from + 60);  // a folder new by its date
    makeDirs(S("A/Shut"));  // an old folder not listable: entered, never taken for empty
    faulty.failOn(FsOp::List, "/A/Shut", kErrAccessDenied);
    for (const char* folder : {"A/Quiet", "A/Old/Older", "A/Old", "A/Shut", "A"})
        setTimes(S(folder), before, before);
    setAttributes(S("A"), kAttrDirectory | kAttrHidden);
    setAttributes(S("A/Old"), kAttrDirectory | kAttrSystem | kAttrHidden);
    run(Walk::Checked);
    EXPECT_EQ(tree(dst), (Names{"A/Moved/", "A/Old/Older/changed.txt", "A/Shut/", "A/new.txt"}));
    EXPECT_EQ(attributesOf(D("A")) & kAttrHidden, kAttrHidden);
    EXPECT_EQ(attributesOf(D("A/Old")) & (kAttrSystem | kAttrHidden), 0u);
    EXPECT_EQ(std::tuple(w().counts.copied, w().counts.failed, rig.logLines().size()),
              std::tuple(2, 1, 2u));
}

// An old branch whose one new file lies deepest is searched once, not once per level.
TEST_F(CopyWalk, ADeepOldBranchIsSearchedOnce) {
    long lists[2] = {};
    for (const int depth : {20, 40}) {
        fresh();
        std::string chain = "A";
        for (int level = 0; level < depth; ++level) dated(S(chain += "/d") + "/old", before);
        dated(S(chain + "/new"), after);
        const long listsBefore = faulty.calls(FsOp::List);
        run(Walk::Checked);
        EXPECT_EQ(tree(dst), Names{chain + "/new"}) << depth;
        lists[depth / 40] = faulty.calls(FsOp::List) - listsBefore;
    }
    EXPECT_LE(lists[1] - lists[0], 5 * 20);  // a square would add 600
}

// A backup folder whose source folder is unchanged since the from-date is left as it is,
// unless a file goes into it: then it is opened for that and has its source's bits again.
TEST_F(CopyWalk, AnUnchangedFolderIsTouchedOnlyToWriteIntoIt) {
    for (const char* name : {"calm/old", "busy/old"}) {
        dated(S(name), before);
        dated(D(name), before);
    }
    dated(S("busy/new"), after);
    for (const char* folder : {"calm", "busy"}) chmod(D(folder).c_str(), 0555);
    faulty.adjustEntry = [this](const std::string&, Entry& e) { e.changed = DateTime(from * 1s); };
    run(Walk::Checked);
    EXPECT_EQ(readFile(D("busy/new")), "x");
    EXPECT_EQ(std::pair(modeOf(D("calm")), modeOf(D("busy"))), std::pair(0555u, modeOf(S("busy"))));
}

// A failed file and the recovery, a full disk, a folder not listable or made.
TEST_F(CopyWalk, FailuresAndExitEndTheFileOrTheRun) {
    const std::string brk = formatDate(rig.clock.current) + " " + timeText() + "   -  user break";
    const std::string full = timeText() + "Disk full";
    const std::string noSpace = "Error 61: No space left on device (injected)";
    const std::string unavailable = "Error 91: Injected error 91";
    const std::string listed = timeText() + " - " + S("new"), made = timeText() + " - " + D("new");
    const auto Cancel = MessageAnswer::Cancel, Ok = MessageAnswer::Ok;
    const FsOp Copy = FsOp::CopyFile;
    const struct {
        Walk walk;
        std::string folder, line;  // of a and b beside more/ ("new/": not in the backup); logged
        FsOp op;                   // CopyFile: the error at the first copy
        MessageAnswer answer;
        int error, copyCalls, copied, failed, lines;
    } cases[] = {
        {Walk::Checked, "sub/", unavailable, Copy, Ok, kErrObjectNotAvailable, 4, 3, 1, 4},
        {Walk::Checked, "", brk, Copy, Cancel, kErrDiskFull, 1, 0, 0, 1},
        {Walk::Checked, "new/", full, Copy, Cancel, kErrDiskFull, 1, 0, 0, 1},
        {Walk::Quick, "sub/", "", Copy, Cancel, kErrDiskFull, 1, 0, 0, 0},
        {Walk::Checked, "sub/", noSpace, Copy, Ok, kErrDiskFull, 4, 3, 1, 4},
        {Walk::Checked, "new/", noSpace, Copy, Ok, kErrDiskFull, 4, 3, 1, 4},
        {Walk::Quick, "", noSpace, Copy, Ok, kErrDiskFull, 4, 3, 1, 4},
        {Walk::Checked, "new/", listed, FsOp::List, Ok, kErrAccessDenied, 2, 2, 1, 2},
        {Walk::Checked, "sub/", timeText() + " - " + S("sub"), FsOp::List, Ok, kErrAccessDenied, 2,
         2, 1, 2},
        {Walk::Quick, "new/", listed, FsOp::List, Ok, kErrAccessDenied, 2, 2, 1, 2},
        {Walk::Checked, "new/", made, FsOp::CreateFolder, Ok, kErrAccessDenied, 2, 2, 1, 2},
        {Walk::Quick, "new/", made, FsOp::CreateFolder, Ok, kErrAccessDenied, 2, 2, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.folder << c.error << int(c.answer) << c.line);
        fresh();
        for (const std::string& f : Names{c.folder + "a", c.folder + "b", "more/a", "more/b"})
            dated(S(f), after);
        if (c.folder != "new/") makeDirs(D(c.folder)), makeDirs(D("more"));
        faulty.clearFailures();
        faulty.failOn(c.op, c.op == Copy ? "" : "/" + c.folder.substr(0, 3), c.error,
                      c.op == Copy ? 1 : -1);
        if (c.error == kErrDiskFull) rig.dialogs.script(c.answer);
        const long copiesBefore = faulty.calls(Copy);
        rig.progress = {};
        run(c.walk);
        EXPECT_EQ(faulty.calls(Copy) - copiesBefore, c.copyCalls);
        EXPECT_EQ(std::pair(w().counts.copied, w().counts.failed), std::pair(c.copied, c.failed));
        EXPECT_EQ(w().userBreak, c.answer == Cancel);
        EXPECT_EQ(rig.logLines().size(), std::size_t(c.lines));
        EXPECT_EQ(logCount(c.line) > 0, c.lines != 0);
        EXPECT_TRUE(c.op == Copy || nextFrom(rig.clock.current) == DateTime(from * 1s));
        // The display hears of every file it was told of, a failed one too.
        const Names& done = rig.progress.finished;
        EXPECT_TRUE(c.answer == Cancel || done == rig.progress.started);
        if (c.line != unavailable) continue;
        EXPECT_EQ(rig.progress.bytesReached, 4u);
        EXPECT_EQ(rig.logLines(), (Names{timeText() + " - " + done.at(0), unavailable,
                                         timeText() + " - " + done.at(1), "OK, Proceeding ..."}));
    }
    EXPECT_EQ(rig.dialogs.shown.size(), 6u);
    for (const std::string& line : {brk, full})
        EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(line), std::string::npos);
}

// No walk enters a system folder, by the source's path or the backup's.
TEST_F(CopyWalk, NoWalkEntersSystemFolders) {
    const std::pair<const char*, Names> backups[] = {
        {"src/Backup", {"deep/ok.txt", "fresh/", "top.txt", "work/a.txt"}},
        {"recycled-backup", {"deep/", "top.txt"}}};
    for (Walk walk : {Walk::Checked, Walk::Quick})
        for (const auto& [backup, copied] : backups) {
            dst = rig.root / backup;
            fresh();
            for (const char* f : {"top.txt", "ReCyClEr/x", "deep/System Volume Information/y",
                                  "deep/ok.txt", "fresh/recycled/z", "work/a.txt"})
                dated(S(f), after);
            makeDirs(D("deep"));  // "fresh" is new in the backup
            run(walk);
            EXPECT_EQ(tree(dst), copied) << backup;
        }
}

// Nothing is written through a backup link, nor a missing root or one gone mid-run made.
TEST_F(CopyWalk, NothingIsWrittenOutsideTheBackup) {
    dated(S("a/secret.txt"), after);
    makeDirs(rig.root / "elsewhere");
    ASSERT_EQ(symlink((rig.root / "elsewhere").c_str(), D("a").c_str()), 0);
    for (Walk walk : {Walk::Checked, Walk::Quick}) {
        fresh(false);
        run(walk);
        EXPECT_TRUE(fs::is_empty(rig.root / "elsewhere"));
        EXPECT_EQ(w().counts.failed, 1);
    }
    dated(S("A/B/f"), after);
    bool unplugged = false;
    faulty.beforeCall = [&](FsOp op, const std::string& path) {
        if (op == FsOp::CreateFolder && path == D("A/B") && !unplugged)
            unplugged = fs::remove_all(D("A")) > 0;
    };
    for (Walk walk : {Walk::Checked, Walk::Quick}) {
        fresh(false);
        makeDirs(D("A"));
        unplugged = false;
        run(walk);
        EXPECT_FALSE(fs::exists(D("A")));
    }
    dst = rig.root / "gone";
    fresh(false);
    fs::remove(dst);
    run(Walk::Checked);
    EXPECT_FALSE(fs::exists(dst));
    EXPECT_GE(w().counts.failed, 1);  // never a success
    const Names lines = rig.logLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Names(lines.begin(), lines.begin() + 4),
              (Names{timeText() + " - " + dst, "Error 76: Path not found", timeText() + " " + dst,
                     "(=ongeldige padaanduiding)"}));
}

// Only a folder with no file of any kind below it goes, with the option and sync on.
TEST_F(CopyWalk, KillEmptyRemovesOnlyFoldersWithoutAnyFileBelow) {
    for (const char* folder : {"A/B/C", "a/empty", "a/b/empty/deeper", "a/b/c/empty", "hidden",
                               "locked", "unreadable/inner", "fifo"})
        makeDirs(D(folder));
    writeFile(D("a/b/c/data.txt"), "data");
    writeFile(D("pkg/__init__.py"), "");
    faulty.failOn(FsOp::List, "inner", kErrAccessDenied);
    ASSERT_EQ(mkfifo(D("fifo/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/nonexistent", D("dangling").c_str()), 0);
    setAttributes(D("hidden"), kAttrDirectory | kAttrHidden | kAttrSystem);
    setAttributes(D("locked"), kAttrDirectory | kAttrReadOnly);
    const Names before = tree(dst);
    for (const int pass : {1, 2, 3}) {
        EXPECT_TRUE(pass != 3 || tree(dst) == before);
        w().job.removeEmptyFolders = pass != 1;
        w().job.synchronise = pass != 2;
        killEmpty();
    }
    EXPECT_EQ(tree(dst), (Names{"a/b/c/data.txt", "dangling", "fifo/pipe", "pkg/__init__.py",
                                "unreadable/inner/"}));
    EXPECT_EQ(std::pair(w().counts.removed, w().log.text()), std::pair(0, std::string()));

    fs::remove_all(dst);  // a backup root without any file goes itself, never through a link
    makeDirs(rig.root / "real/x/y");
    fs::create_directory_symlink(rig.root / "real", dst);
    killEmptyRoot(w().run, dst);
    EXPECT_TRUE(fs::exists(rig.root / "real/x/y"));
    fs::remove(dst);
    fs::rename(rig.root / "real", dst);
    killEmptyRoot(w().run, dst);
    EXPECT_FALSE(fs::exists(dst));
}

// The whole tree comes over, links as links (never followed), FIFOs passed over.
TEST_F(CopyWalk, CopiesTheWholeTreeWithLinksAsLinks) {
    const std::string outside = rig.root / "outside/private.txt";
    writeFile(outside, "private, outside the source");
    chmod(outside.c_str(), 0444);
    writeFile(S("a/b/c/d/tool.sh"), "tool");
    makeDirs(S("empty"));
    for (const auto& [name, target] : {std::pair{"a/toOutside", "../../outside"},
                                       {"fileLink", "../outside/private.txt"},
                                       {"a/b/up", ".."},
                                       {"loop1", "loop2"},
                                       {"loop2", "loop1"}})
        ASSERT_EQ(symlink(target, S(name).c_str()), 0) << name;
    for (const char* pipe : {"pipe", "a/pipe2"}) ASSERT_EQ(mkfifo(S(pipe).c_str(), 0600), 0);
    for (Walk walk : {Walk::Checked, Walk::Checked, Walk::Quick}) {
        fresh(false);
        w().job.noDateFilter = w().job.synchronise = true;
        run(walk);
        const Names differences =
            treeDifferences(src, dst, kCompareContent | kCompareModes | kCompareTimes);
        ASSERT_EQ(differences.size(), 2u);  // the pipes, only in the source
        EXPECT_TRUE(differences[0].starts_with(src + ": a/pipe2 ") &&
                    differences[1].starts_with(src + ": pipe "));
        EXPECT_EQ(counts(), (Counts{6, 6, 0}));
    }
    EXPECT_EQ(std::pair(readFile(outside), fs::status(outside).permissions()),
              std::pair(std::string("private, outside the source"), fs::perms(0444)));
}

}  // namespace
}  // namespace zv::test
