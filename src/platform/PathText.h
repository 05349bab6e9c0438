#pragma once

#include <string>
#include <string_view>

namespace zv {

// Purely textual path operations on "/"-separated paths.

// "/a/b" -> "/a", "/a" -> "/", "/" -> "", "DISK/x" -> "DISK", "DISK" -> "".
// Trailing and doubled separators are ignored.
std::string parentOfPath(std::string_view path);

// The last component ("/a/b/" -> "b", "/" -> "").
std::string_view lastComponent(std::string_view path);

// Makes `path` absolute against `currentFolder` and resolves ".", ".." and
// doubled separators textually (without looking at the disk).
std::string normalisedAbsolute(std::string_view path, std::string_view currentFolder);

// True when `path` lies at or below `folder` (component-wise, so "/mnt"
// holds "/mnt/x" but not "/mntx").
bool pathIsWithin(std::string_view path, std::string_view folder);

}  // namespace zv
