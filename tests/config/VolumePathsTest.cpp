#include <gtest/gtest.h>

#include <string>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

// A volume name matches a whole first folder on exactly one drive; absolute paths are no names.
TEST_F(ConfigTest, VolumeNamesResolveToTheirMountPoints) {
    const std::string e = at("media/e"), f = at("media/f");
    const std::string odd = at("media/A:=B"), colon = at("media/c:drive");
    for (const auto& folder : {e, f, odd, colon}) makeDirs(folder);
    const std::string name(4088, 'a');  // with "MYDISK/" the longest path, 4095 bytes
    const Lines disk = {e + ":=MYDISK"}, two = {e + ":=MYDISK", f + ":=MYDISK2"};
    const std::tuple<Lines, std::string, std::string> cases[] = {
        {{"/:=***", e + ":=MYDISK"}, "MYDISK/Backup", e + "/Backup"},
        {disk, "MYDISK", e},
        {two, "MYDISK2/Backup", f + "/Backup"},
        {{e + ":=MY"}, "MYDISK/Backup", ""},
        {{e + ":=MYDISK", f + ":=MYDISK"}, "MYDISK/Backup", ""},  // ambiguous
        {disk, "mydisk/Backup", ""},
        {{e + ":=***"}, "***/Backup", ""},
        {{e + ":=/tmp"}, "/tmp/Backup", "/tmp/Backup"},
        {disk, "MYDISK/" + name, e + "/" + name},
        {disk, "MYDISK/" + name + "a", ""},
        {{}, "./x", "./x"},
        {{"/:=ROOT"}, "ROOT/srv/backup", "/srv/backup"},
        {{odd + ":=A:=B"}, "A:=B/x", odd + "/x"},
        {{colon + ":=DATA"}, "DATA/x", colon + "/x"},
        {{"/no/a:=b:=c"}, "c/x", "/no/a:=b/x"},  // no such drive: split at the last mark
    };
    for (const auto& [drives, path, expected] : cases) {
        w().driveList = drives;
        EXPECT_EQ(w().resolveVolumePath(path), expected) << path.substr(0, 40);
    }
}

}  // namespace
}  // namespace zv::test
