#include "support/FaultInjectingFileSystem.h"

#include <utility>

namespace zv::test {

namespace {

std::string describe(int number) {
    switch (number) {
        case kErrInvalidArgument:
            return "Invalid procedure call or argument (injected)";
        case kErrFileNotFound:
            return "File not found (injected)";
        case kErrDiskFull:
            return "No space left on device (injected)";
        case kErrAccessDenied:
            return "Path/File access error (injected)";
        case kErrPathNotFound:
            return "Path not found (injected)";
        default:
            return "Injected error " + std::to_string(number);
    }
}

bool contains(const std::string& text, const std::string& part) {
    return !text.empty() && text.find(part) != std::string::npos;
}

}  // namespace

void FaultInjectingFileSystem::failOn(FsOp op, std::string pathSubstring, int errorNumber,
                                      int times) {
    rules_.push_back(Rule{op, std::move(pathSubstring), errorNumber, times});
}

long FaultInjectingFileSystem::calls(FsOp op) const {
    if (op != FsOp::Any) return calls_[static_cast<std::size_t>(op)];
    long total = 0;
    for (long n : calls_) total += n;
    return total;
}

FsError FaultInjectingFileSystem::check(FsOp op, const std::string& path,
                                        const std::string& otherPath) {
    ++calls_[static_cast<std::size_t>(op)];
    if (beforeCall) beforeCall(op, path);
    for (Rule& rule : rules_) {
        if (rule.remaining == 0) continue;
        if (rule.op != FsOp::Any && rule.op != op) continue;
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
    if (FsError e = check(FsOp::List, path); e.failed()) {
        files.clear();
        folders.clear();
        return e;
    }
    FsError result = inner_.listFolder(path, files, folders, detail);
    if (adjustEntry) {
        std::string full;
        for (std::vector<Entry>* list : {&files, &folders}) {
            for (Entry& e : *list) {
                full = path;
                if (full.empty() || full.back() != kSep) full += kSep;
                full += e.name;
                adjustEntry(full, e);
            }
        }
    }
    return result;
}

FsError FaultInjectingFileSystem::listNames(const std::string& path,
                                            std::vector<FolderName>& names) {
    if (FsError e = check(FsOp::List, path); e.failed()) {
        names.clear();
        return e;
    }
    return inner_.listNames(path, names);
}

FsError FaultInjectingFileSystem::stat(const std::string& path, Entry& out) {
    if (FsError e = check(FsOp::Stat, path); e.failed()) return e;
    FsError result = inner_.stat(path, out);
    if (result.ok() && adjustEntry) adjustEntry(path, out);
    return result;
}

PathInfo FaultInjectingFileSystem::lookup(const std::string& path) {
    if (FsError e = check(FsOp::Stat, path); e.failed()) {
        const Presence presence = isAbsence(e) ? Presence::Absent : Presence::Unknown;
        return PathInfo{presence, EntryKind::File, {}, false, std::move(e)};
    }
    return inner_.lookup(path);
}

FsError FaultInjectingFileSystem::resolveFolder(const std::string& path, std::string& real,
                                                PathInfo& info) {
    if (FsError e = check(FsOp::Stat, path); e.failed()) {
        real.clear();
        info = PathInfo{
            isAbsence(e) ? Presence::Absent : Presence::Unknown, EntryKind::File, {}, false, e};
        return e;
    }
    return inner_.resolveFolder(path, real, info);
}

FsError FaultInjectingFileSystem::createFolder(const std::string& path) {
    if (FsError e = check(FsOp::CreateFolder, path); e.failed()) return e;
    return inner_.createFolder(path);
}

FsError FaultInjectingFileSystem::deleteFile(const std::string& path, bool force) {
    if (FsError e = check(FsOp::DeleteFile, path); e.failed()) return e;
    return inner_.deleteFile(path, force);
}

FsError FaultInjectingFileSystem::deleteFolder(const std::string& path, bool force) {
    if (FsError e = check(FsOp::DeleteFolder, path); e.failed()) return e;
    return inner_.deleteFolder(path, force);
}

FsError FaultInjectingFileSystem::removeEmptyFolder(const std::string& path) {
    if (FsError e = check(FsOp::DeleteFolder, path); e.failed()) return e;
    return inner_.removeEmptyFolder(path);
}

FsError FaultInjectingFileSystem::copyFile(const std::string& from, const std::string& to) {
    if (FsError e = check(FsOp::CopyFile, from, to); e.failed()) return e;
    return inner_.copyFile(from, to);
}

FsError FaultInjectingFileSystem::moveFile(const std::string& from, const std::string& to) {
    if (FsError e = check(FsOp::MoveFile, from, to); e.failed()) return e;
    return inner_.moveFile(from, to);
}

FsError FaultInjectingFileSystem::getAttributes(const std::string& path,
                                                std::uint32_t& attributes) {
    if (FsError e = check(FsOp::GetAttributes, path); e.failed()) return e;
    return inner_.getAttributes(path, attributes);
}

FsError FaultInjectingFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    if (FsError e = check(FsOp::SetAttributes, path); e.failed()) return e;
    return inner_.setAttributes(path, attributes);
}

FsError FaultInjectingFileSystem::flushVolume(const std::string& path) {
    if (FsError e = check(FsOp::FlushVolume, path); e.failed()) return e;
    return inner_.flushVolume(path);
}

FsError FaultInjectingFileSystem::writeFileAtomic(const std::string& path,
                                                  const std::string& content) {
    if (FsError e = check(FsOp::WriteFileAtomic, path); e.failed()) return e;
    return inner_.writeFileAtomic(path, content);
}

FsError FaultInjectingFileSystem::folderSize(const std::string& path, std::uint64_t& bytes) {
    if (FsError e = check(FsOp::FolderSize, path); e.failed()) return e;
    return inner_.folderSize(path, bytes);
}

}  // namespace zv::test
