#pragma once

#include <string>

namespace zv {

class frmVergelijker;

// Fills a backup folder that did not exist yet.
void CopyNewFolderFiles(frmVergelijker& w, const std::string& Source,
                        const std::string& Destination);
void CopyNewFolderSubfolders(frmVergelijker& w, const std::string& Source,
                             const std::string& Destination);

}  // namespace zv
