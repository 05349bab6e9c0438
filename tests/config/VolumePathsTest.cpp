#include <gtest/gtest.h>

#include <string>

#include "config/ConfigFixture.h"
#include "config/DriveEntry.h"

namespace zv::test {
namespace {

TEST_F(ConfigTest, VolumeNamesResolveToTheirMountPoints) {
    const std::string e = at("media/e"), f = at("media/f");
    const std::string odd = at("media/A:=B"), colon = at("media/c:drive");
    for (const auto& folder : {e, f, odd, colon}) makeDirs(folder);
    const std::string longName(5000, 'a');
    struct Case {
        Lines drives{};
        std::string path, expected;
    };
    const Case cases[] = {
        {{"/:=***", e + ":=MYDISK"}, "MYDISK/Backup", e + "/Backup"},
        {{e + ":=MYDISK"}, "MYDISK", e},
        // A name matches only as a whole first folder, never as a prefix.
        {{e + ":=MYDISK", f + ":=MYDISK2"}, "MYDISK2/Backup", f + "/Backup"},
        {{e + ":=MYDISK", f + ":=MYDISK2"}, "MYDISK/Backup", e + "/Backup"},
        {{e + ":=MY"}, "MYDISK/Backup", ""},
        {{e + ":=MYDISK", f + ":=MYDISK"}, "MYDISK/Backup", ""},  // ambiguous
        {{e + ":=MYDISK"}, "mydisk/Backup", ""},
        {{e + ":=***"}, "***/Backup", ""},
        {{e + ":=MYDISK"}, e + "/Backup", e + "/Backup"},
        {{e + ":=/tmp"}, "/tmp/Backup", "/tmp/Backup"},  // an absolute path is never a name
        {{e + ":=MYDISK"}, "/no/such/folder", "/no/such/folder"},
        {{e + ":=MYDISK"}, "MYDISK/" + longName, ""},
        {{e + ":=MYDISK"},
         "MYDISK/" + longName.substr(0, 4088),
         e + "/" + longName.substr(0, 4088)},
        {{e + ":=MYDISK"}, "MYDISK/" + longName.substr(0, 4089), ""},  // over 4095 bytes
        {{}, "./x", "./x"},
        {{}, "NoSuchVolume/Backup", ""},
        {{"/:=ROOT"}, "ROOT/srv/backup", "/srv/backup"},
        {{"/:=ROOT"}, "ROOT", "/"},
        {{odd + ":=A:=B"}, "A:=B/x", odd + "/x"},
        {{colon + ":=DATA"}, "DATA/x", colon + "/x"},
    };
    for (const Case& c : cases) {
        w().driveList = c.drives;
        EXPECT_EQ(w().resolveVolumePath(c.path), c.expected) << c.path.substr(0, 40);
    }
}

TEST_F(ConfigTest, DriveEntrySplitsWhereTheDriveExists) {
    makeDirs(at("p"));
    makeDirs(at("p:=q"));
    const std::pair<std::string, DriveEntry> cases[] = {
        {"/mnt/x:=LABEL", {"/mnt/x", "LABEL"}},
        {"/mnt/x:=", {"/mnt/x", ""}},
        {"/mnt/x", {"/mnt/x", ""}},
        {"/no/a:=b:=c", {"/no/a:=b", "c"}},  // nothing exists: the last mark
        {at("p:=q:=r"), {at("p:=q"), "r"}},  // the longest existing drive
    };
    for (const auto& [entry, expected] : cases) {
        const DriveEntry got = splitDriveEntry(rig.fs, entry);
        EXPECT_EQ(got.drive + "|" + got.label, expected.drive + "|" + expected.label) << entry;
    }
}

}  // namespace
}  // namespace zv::test
