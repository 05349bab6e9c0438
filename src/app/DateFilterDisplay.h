#pragma once

namespace zv {

class AppWindow;

// Gives the date-filter box a new value; a change runs the box's click
// handling, as a click would.
void setDateFilterValue(AppWindow& w, int value);

// The date filter follows the box: checked means the filter is on and the
// date is drawn normally; otherwise every file counts as new and the date is
// drawn greyed.
void showDateFilterState(AppWindow& w);

}  // namespace zv
