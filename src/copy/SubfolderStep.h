#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace zv {

// One step of a walk down a folder path that is a single buffer for the
// whole walk: the subfolder's name is added for the step's lifetime and
// taken off after it. A path that every level kept for itself would make a
// deep walk's memory grow with the square of its depth, and copy the whole
// path at every level. Whoever holds the buffer below a step sees the
// subfolder's path until the step ends.
class SubfolderStep {
  public:
    SubfolderStep(std::string& path, std::string_view name) : path_(path), length_(path.size()) {
        appendName(path, name);
    }
    ~SubfolderStep() { path_.resize(length_); }
    SubfolderStep(const SubfolderStep&) = delete;
    SubfolderStep& operator=(const SubfolderStep&) = delete;

  private:
    std::string& path_;
    std::size_t length_;
};

}  // namespace zv
