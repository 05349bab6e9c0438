#include "support/FaultInjectingFileSystem.h"

#include <map>
#include <numeric>

namespace zv::test {

namespace {

std::string describe(int number) {
    static const std::map<int, std::string> kTexts{
        {kErrInvalidArgument, "Invalid procedure call or argument"},
        {kErrFileNotFound, "File not found"},
        {kErrDiskFull, "No space left on device"},
        {kErrAccessDenied, "Path/File access error"},
        {kErrPathNotFound, "Path not found"}};
    const auto it = kTexts.find(number);
    return it == kTexts.end() ? "Injected error " + std::to_string(number)
                              : it->second + " (injected)";
}

bool contains(const std::string& text, const std::string& part) {
    return !text.empty() && text.find(part) != std::string::npos;
}

// What a look at a path that failed with `e` tells.
PathInfo failedLook(const FsError& e) {
    return PathInfo{
        isAbsence(e) ? Presence::Absent : Presence::Unknown, EntryKind::File, {}, false, e};
}

}  // namespace

void FaultInjectingFileSystem::failOn(FsOp op, std::string pathSubstring, int errorNumber,
                                      int times) {
    rules_.push_back(Rule{op, std::move(pathSubstring), errorNumber, times});
}

long FaultInjectingFileSystem::calls(FsOp op) const {
    if (op != Any) return calls_[static_cast<std::size_t>(op)];
    return std::accumulate(calls_.begin(), calls_.end(), 0L);
}

FsError FaultInjectingFileSystem::check(FsOp op, const std::string& path,
                                        const std::string& otherPath) {
    ++calls_[static_cast<std::size_t>(op)];
    if (beforeCall) beforeCall(op, path);
    for (Rule& rule : rules_) {
        if (rule.remaining == 0 || (rule.op != Any && rule.op != op)) continue;
        if (!contains(path, rule.pathSubstring) && !contains(otherPath, rule.pathSubstring))
            continue;
        if (rule.remaining > 0) --rule.remaining;
        ++injected_;
        return fsFail(rule.errorNumber, describe(rule.errorNumber));
    }
    return fsOk();
}

FsError FaultInjectingFileSystem::listFolder(const std::string& path, std::vector<Entry>& files,
                                             std::vector<Entry>& folders, ListDetail detail) {
    files.clear();  // as a listing that fails leaves them
    folders.clear();
    const FsError result =
        guarded(List, path, [&] { return inner_.listFolder(path, files, folders, detail); });
    const std::string folder = path.empty() || path.back() != kSep ? path + kSep : path;
    for (std::vector<Entry>* list : {&files, &folders})
        for (Entry& e : *list)
            if (adjustEntry) adjustEntry(folder + e.name, e);
    return result;
}

FsError FaultInjectingFileSystem::stat(const std::string& path, Entry& out) {
    const FsError result = guarded(Stat, path, [&] { return inner_.stat(path, out); });
    if (result.ok() && adjustEntry) adjustEntry(path, out);
    return result;
}

PathInfo FaultInjectingFileSystem::lookup(const std::string& path) {
    if (FsError e = check(Stat, path); e.failed()) return failedLook(e);
    return inner_.lookup(path);
}

FsError FaultInjectingFileSystem::resolveFolder(const std::string& path, std::string& real,
                                                PathInfo& info) {
    real.clear();
    if (FsError e = check(Stat, path); e.failed()) return (info = failedLook(e)).error;
    return inner_.resolveFolder(path, real, info);
}

}  // namespace zv::test
