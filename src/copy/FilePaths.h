#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace zv {

// The source and target paths of the file in hand. One pair serves every
// file loop of a run (the loops never nest: each ends before the walk goes
// deeper): its buffers, once as long as the deepest path, are written over
// from file to file, where a pair a folder would take fresh memory at every
// level of a deep tree. A loop enters its pair of folders once; each file
// then writes only its name, so a file's paths cost the same at any depth.
class FilePaths {
  public:
    std::string source;
    std::string target;

    void enter(std::string_view sourceFolder, std::string_view targetFolder) {
        sourceBase_ = start(source, sourceFolder);
        targetBase_ = start(target, targetFolder);
    }
    // The file `name` in the folders entered last.
    void name(std::string_view fileName) {
        source.resize(sourceBase_);
        source += fileName;
        target.resize(targetBase_);
        target += fileName;
    }

  private:
    static std::size_t start(std::string& path, std::string_view folder) {
        path.assign(folder);
        endWithSeparator(path);
        return path.size();
    }
    std::size_t sourceBase_ = 0;
    std::size_t targetBase_ = 0;
};

}  // namespace zv
