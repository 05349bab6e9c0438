#pragma once

#include <string>
#include <vector>

namespace zv::test {

// What two trees are compared by.
enum TreeAspect : unsigned {
    kCompareContent = 1,     // the same names, kinds, file contents and link targets
    kCompareModes = 2,       // permission bits
    kCompareOwners = 4,      // owner and group
    kCompareTimes = 8,       // modification times (files, folders and links)
    kCompareXattrs = 16,     // extended attributes, ACLs among them, as bytes
    kCompareLinks = 32,      // which names are one file
    kCompareAllocated = 64,  // blocks a file takes on the disk (holes stay holes)
    kCompareAll = 127,
};

// The entries (roots too) two trees do not have alike in `aspects`, one line per entry and
// side: "<tree>: <relative path> kind=.. <aspect>=<value>..". Empty when the trees agree.
std::vector<std::string> treeDifferences(const std::string& a, const std::string& b,
                                         unsigned aspects);

}  // namespace zv::test
