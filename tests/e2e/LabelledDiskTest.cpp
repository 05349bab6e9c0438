#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>

#include "e2e/E2eFixture.h"

namespace zv::test {
namespace {

// A backup disk known by its volume name: a small ext4 image with a label,
// loop-mounted for the test. Skipped where the machine does not allow it.
class LabelledDisk : public EndToEnd {
  protected:
    std::string image, mountPoint, label, source;
    bool mounted = false;

    void SetUp() override {
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        if (geteuid() != 0) GTEST_SKIP() << "mounting needs root";
        label = "ZV" + std::to_string(getpid() % 100000);
        image = at("schijf.img");
        mountPoint = at("media/" + label);
        makeDirs(mountPoint);
        if (!RunCommand("truncate -s 16M '" + image + "' && mkfs.ext4 -q -L " + label + " '" +
                        image + "' 2>/dev/null")) {
            GTEST_SKIP() << "cannot make an ext4 image here";
        }
        if (!RunCommand("mount -o loop '" + image + "' '" + mountPoint + "' 2>/dev/null")) {
            GTEST_SKIP() << "cannot loop-mount here";
        }
        mounted = true;
        source = at("bron");
        writeFile(source + "/a.txt", "op de schijf");
        writeFile(source + "/map/b.txt", "ook");
    }
    void TearDown() override {
        if (mounted) umount2(mountPoint.c_str(), MNT_DETACH);
    }
};

TEST_F(LabelledDisk, OptionsNameTheBackupByVolumeName) {
    ASSERT_EQ(volumeLabelOf(mountPoint), label);
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", label + "/Backup", "-vl", label, "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_EQ(filesBelow(mountPoint + "/Backup"), filesBelow(source));
    const std::string saved = readFile(appFile("Init.dat"));
    EXPECT_NE(saved.find("\r\npathdestination =" + label + "/Backup\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nvolumelabel =" + label + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find(" -vl " + label + "\r\n"), std::string::npos);
}

TEST_F(LabelledDisk, JobFileNamesTheBackupByVolumeName) {
    writeFile(appFile("Job.dat"),
              crlf({"version =Zandvast v." + appVersion(), "pathsource =" + source,
                    "pathdestination =" + label + "/Week/Backup", "pathrecycler =",
                    "dedato =19-12-1960 12:58:58", "checkdate =1", "syncactive =0", "doverify =1",
                    "dustbin =0", "killempty =0", "volumelabel =" + label, "-ps " + source}));
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu", "cf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_EQ(filesBelow(mountPoint + "/Week/Backup"), filesBelow(source));
}

TEST_F(LabelledDisk, ALongerNameIsNotTakenForThisDisk) {
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", label + "9/Backup", "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_EQ(splitCrLf(errorLog()).at(0).substr(8), " Targetpath invalid");
    EXPECT_FALSE(exists(mountPoint + "9"));
    EXPECT_FALSE(exists(mountPoint + "/Backup"));
}

TEST_F(LabelledDisk, OtherDiskNameIsRefused) {
    const ProgramOutcome outcome = run(
        {"-ps", source, "-pd", mountPoint + "/Backup", "-vl", "ANDERE", "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_NE(errorLog().find(" Error: ANDERE <> " + label + "\r\nVolumelabels don't match\r\n"),
              std::string::npos)
        << errorLog();
    EXPECT_FALSE(exists(mountPoint + "/Backup"));
}

}  // namespace
}  // namespace zv::test
