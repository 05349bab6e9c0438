#pragma once

#include <string>

namespace zv {

// The source and target paths of the file in hand. One pair serves every
// file loop of a run (the loops never nest: each ends before the walk goes
// deeper): its buffers, once as long as the deepest path, are written over
// from file to file, where a pair a folder would take fresh memory at every
// level of a deep tree.
struct FilePaths {
    std::string source;
    std::string target;
};

}  // namespace zv
