#include "app/DateFilterDisplay.h"

#include "app/frmVergelijker.h"

namespace zv {

void SetCheck1Value(frmVergelijker& w, int value) {
    if (w.ui.Check1.value == value) return;
    w.ui.Check1.value = value;
    w.Check1_Click();
}

void ShowDateFilterState(frmVergelijker& w) {
    if (w.ui.Check1.value == 1) {
        w.job.noDateFilter = false;
        w.ui.text2.foreColour = kSysWindowText;
    } else {
        w.job.noDateFilter = true;
        w.ui.text2.foreColour = kSysActiveBorder;
    }
}

}  // namespace zv
