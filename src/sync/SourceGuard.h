#pragma once

#include <string>

namespace zv {

class FileSystem;

// Tells whether the source root is still there before the synchronisation
// removes anything. A source root that is missing, cannot be listed, or is
// empty (the bare mount point of a disk that is not plugged in) counts as
// gone: every backup file would otherwise look like an orphan.
//
// After one listing the guard keeps a single entry of the source root as a
// witness, so that later checks cost one stat instead of a listing.
class SourceGuard {
  public:
    SourceGuard(FileSystem& fs, std::string sourceRoot);

    bool present();

  private:
    bool findWitness();

    FileSystem& fs_;
    std::string root_;
    std::string witness_;
};

}  // namespace zv
