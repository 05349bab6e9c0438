#include "ui/qt/QtWindowHost.h"

#include "app/AppWindow.h"
#include "ui/DustbinWindow.h"
#include "ui/qt/DustbinDialog.h"

namespace zv::qt {

void QtWindowHost::attach(AppWindow& main, QWidget* parent) {
    main_ = &main;
    parent_ = parent;
}

void QtWindowHost::showDustbinDialog() {
    if (!main_) return;
    DustbinWindow model(*main_);
    model.load();
    DustbinDialog dialog(model, parent_);
    dialog.exec();
}

}  // namespace zv::qt
