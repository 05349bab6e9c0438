#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zv {

// Purely textual path operations on "/"-separated paths (nothing is looked
// up on the disk).

// The path begins with the separator.
bool isAbsolutePath(std::string_view path);

// The top-most ancestor: "/" for an absolute path, the first component of a
// relative one ("DISK/x" -> "DISK"), "" for "".
std::string rootOf(std::string_view path);

// folder + "/" + name, without doubling a separator the folder ends in
// ("/a" + "b" -> "/a/b", "/" + "b" -> "/b", "" + "b" -> "/b").
std::string joinPath(std::string_view folder, std::string_view name);
// The same in place: `name` added to the folder path `path`.
void appendName(std::string& path, std::string_view name);
// A separator added unless `path` ends in one: a folder path a name can
// follow.
void endWithSeparator(std::string& path);

// Repeated separators collapsed into one; a leading pair stays (a
// network-style prefix): "a//b" -> "a/b", "//srv//x" -> "//srv/x".
std::string collapsedSeparators(std::string_view path);

// A folder path for comparisons: separators collapsed and trailing ones
// dropped (the root "/" stays).
std::string normalisedFolder(std::string_view path);

// The path without trailing separators ("/a/" -> "/a"; "/" and "//" -> "/").
std::string_view withoutTrailingSeparators(std::string_view path);

// "/a/b" -> "/a", "/a" -> "/", "/" -> "", "DISK/x" -> "DISK", "DISK" -> "".
// Trailing and doubled separators are ignored.
std::string parentOfPath(std::string_view path);

// The last component ("/a/b/" -> "b", "/" -> "").
std::string_view lastComponent(std::string_view path);

// Makes `path` absolute against `currentFolder` and resolves ".", ".." and
// doubled separators textually (without looking at the disk).
std::string normalisedAbsolute(std::string_view path, std::string_view currentFolder);

// True when `path` lies at or below `folder` (component-wise, so "/mnt"
// holds "/mnt/x" but not "/mntx"; trailing separators of `folder` ignored).
bool pathIsWithin(std::string_view path, std::string_view folder);

// True when `path` lies strictly below `folder`, compared as written: `folder`
// and a separator (or `folder` itself when it ends in one) begin `path`, and
// something follows.
bool pathLiesBelow(std::string_view path, std::string_view folder);

// The part of `path` after `folder` and the separator that follows it
// ("/mnt/v/Docs/a" against "/mnt/v" or "/mnt/v/" -> "Docs/a"), compared as
// written; nothing when `path` does not begin so or `folder` is empty.
std::optional<std::string> relativeTo(std::string_view path, std::string_view folder);

}  // namespace zv
