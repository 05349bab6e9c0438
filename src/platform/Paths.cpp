#include "platform/Paths.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace zv {

namespace {

constexpr char kSlash = '/';

// Whether two separators follow each other anywhere after the first
// character. Asked of every folder's path a walk makes, paths that grow with
// the depth: eight characters at a time (a byte of z is zero only where both
// neighbours are separators), where a search for "//" would stop at every
// single one.
bool hasDoubledSeparator(std::string_view path) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    constexpr std::uint64_t kSlashes = kOnes * static_cast<unsigned char>(kSlash);
    std::size_t i = 1;
    for (; i + 9 <= path.size(); i += 8) {
        std::uint64_t here = 0;
        std::uint64_t next = 0;
        std::memcpy(&here, path.data() + i, sizeof here);
        std::memcpy(&next, path.data() + i + 1, sizeof next);
        const std::uint64_t z = (here ^ kSlashes) | (next ^ kSlashes);
        if (((z - kOnes) & ~z & kHighBits) != 0) return true;
    }
    for (; i + 1 < path.size(); ++i)
        if (path[i] == kSlash && path[i + 1] == kSlash) return true;
    return false;
}

}  // namespace

bool isAbsolutePath(std::string_view path) {
    return !path.empty() && path.front() == kSlash;
}

std::string rootOf(std::string_view path) {
    if (isAbsolutePath(path)) return std::string(1, kSlash);
    return std::string(path.substr(0, path.find(kSlash)));
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    out = folder;
    appendName(out, name);
    return out;
}

void appendName(std::string& path, std::string_view name) {
    endWithSeparator(path);
    path += name;
}

void endWithSeparator(std::string& path) {
    if (path.empty() || path.back() != kSlash) path += kSlash;
}

std::string collapsedSeparators(std::string_view path) {
    // Most paths have no doubled separator: copied whole.
    if (!hasDoubledSeparator(path)) return std::string(path);
    std::string s;
    s.reserve(path.size() + 1);
    if (path.starts_with("//")) s += kSlash;  // the leading pair stays
    for (char c : path) {
        if (c == kSlash && s.size() > 1 && s.back() == kSlash) continue;
        s += c;
    }
    return s;
}

std::string normalisedFolder(std::string_view path) {
    std::string out = collapsedSeparators(path);
    out.resize(withoutTrailingSeparators(out).size());
    return out;
}

std::string_view withoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && path.back() == kSlash) path.remove_suffix(1);
    return path;
}

std::string parentOfPath(std::string_view path) {
    path = withoutTrailingSeparators(path);
    std::size_t cut = path.rfind(kSlash);
    if (path.empty() || path == "/" || cut == std::string_view::npos) return {};
    std::string_view parent = path.substr(0, cut);
    while (!parent.empty() && parent.back() == kSlash) parent.remove_suffix(1);
    if (parent.empty()) return "/";
    return std::string(parent);
}

std::string_view lastComponent(std::string_view path) {
    path = withoutTrailingSeparators(path);
    if (path == "/") return {};
    std::size_t cut = path.rfind(kSlash);
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string normalisedAbsolute(std::string_view path, std::string_view currentFolder) {
    std::string full;
    if (!isAbsolutePath(path)) {
        full.assign(currentFolder);
        full += kSlash;
    }
    full += path;
    std::vector<std::string_view> parts;
    std::string_view rest = full;
    while (!rest.empty()) {
        std::size_t cut = rest.find(kSlash);
        std::string_view part = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += kSlash;
        result += part;
    }
    return result.empty() ? "/" : result;
}

bool pathIsWithin(std::string_view path, std::string_view folder) {
    folder = withoutTrailingSeparators(folder);
    if (folder == "/") return isAbsolutePath(path);
    if (path.substr(0, folder.size()) != folder) return false;
    return path.size() == folder.size() || path[folder.size()] == kSlash;
}

bool pathLiesBelow(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() <= folder.size() || !path.starts_with(folder)) return false;
    return folder.back() == kSlash || path[folder.size()] == kSlash;
}

std::optional<std::string> relativeTo(std::string_view path, std::string_view folder) {
    if (folder.empty() || !path.starts_with(folder)) return std::nullopt;
    std::string_view rest = path.substr(folder.size());
    if (folder.back() != kSlash) {
        if (rest.empty() || rest.front() != kSlash) return std::nullopt;
        rest.remove_prefix(1);
    }
    return std::string(rest);
}

}  // namespace zv
