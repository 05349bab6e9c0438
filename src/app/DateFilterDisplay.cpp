#include "app/DateFilterDisplay.h"

#include "app/AppWindow.h"

namespace zv {

void setDateFilterValue(AppWindow& w, int value) {
    if (w.ui.dateFilterBox.value == value) return;
    w.ui.dateFilterBox.value = value;
    w.dateFilterClicked();
}

void showDateFilterState(AppWindow& w) {
    if (w.ui.dateFilterBox.value == 1) {
        w.job.noDateFilter = false;
        w.ui.fromDateBox.foreColour = kSysWindowText;
    } else {
        w.job.noDateFilter = true;
        w.ui.fromDateBox.foreColour = kSysActiveBorder;
    }
}

}  // namespace zv
