#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

// The lines of a job file as read: CR LF or LF line ends, an optional UTF-8
// byte-order mark in front. Lines are counted from 1.
class JobFileLines {
  public:
    JobFileLines() = default;
    explicit JobFileLines(std::string_view content);

    // Nothing when the file has no such line.
    std::optional<std::string> line(std::size_t number) const;
    std::size_t count() const { return lines_.size(); }

  private:
    std::vector<std::string> lines_;
};

// Joins lines into file text, each line ended by CR LF.
std::string joinCrLf(const std::vector<std::string>& lines);

}  // namespace zv
