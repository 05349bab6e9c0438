#include "copy/NewFileSearch.h"

#include <algorithm>
#include <vector>

#include "copy/SubfolderStep.h"
#include "copy/WalkSupport.h"

namespace zv {

bool NewFileSearch::holdsNewFile(FileSystem& fs, std::string& folder, const FileId& id,
                                 const WalkRules& rules) {
    if (id.known())
        if (auto found = known_.find(id); found != known_.end()) return found->second;
    std::vector<Entry> files;
    std::vector<Entry> folders;
    bool holds = fs.listFolder(folder, files, folders, ListDetail::Plain).failed() ||
                 std::any_of(files.begin(), files.end(),
                             [&](const Entry& f) { return isCopyable(f) && rules.DatesAreNew(f); });
    for (auto d = folders.begin(); !holds && d != folders.end(); ++d) {
        const SubfolderStep sub(folder, d->name);
        holds = holdsNewFile(fs, folder, d->id, rules);
    }
    if (id.known()) known_.emplace(id, holds);
    return holds;
}

}  // namespace zv
