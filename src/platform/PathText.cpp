#include "platform/PathText.h"

#include <vector>

namespace zv {

namespace {

std::string_view withoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return path;
}

}  // namespace

std::string parentOfPath(std::string_view path) {
    path = withoutTrailingSeparators(path);
    std::size_t cut = path.rfind('/');
    if (path.empty() || path == "/" || cut == std::string_view::npos) return {};
    std::string_view parent = path.substr(0, cut);
    while (!parent.empty() && parent.back() == '/') parent.remove_suffix(1);
    if (parent.empty()) return "/";
    return std::string(parent);
}

std::string_view lastComponent(std::string_view path) {
    path = withoutTrailingSeparators(path);
    if (path == "/") return {};
    std::size_t cut = path.rfind('/');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string normalisedAbsolute(std::string_view path, std::string_view currentFolder) {
    std::string full;
    if (path.empty() || path.front() != '/') {
        full.assign(currentFolder);
        full += '/';
    }
    full += path;
    std::vector<std::string_view> parts;
    std::string_view rest = full;
    while (!rest.empty()) {
        std::size_t cut = rest.find('/');
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
        result += '/';
        result += part;
    }
    return result.empty() ? "/" : result;
}

bool pathIsWithin(std::string_view path, std::string_view folder) {
    folder = withoutTrailingSeparators(folder);
    if (folder == "/") return !path.empty() && path.front() == '/';
    if (path.substr(0, folder.size()) != folder) return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace zv
