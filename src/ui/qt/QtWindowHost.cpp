#include "ui/qt/QtWindowHost.h"

#include "app/frmVergelijker.h"
#include "ui/frmDustbin.h"
#include "ui/qt/DustbinDialog.h"

namespace zv::qt {

void QtWindowHost::attach(frmVergelijker& main, QWidget* parent) {
    main_ = &main;
    parent_ = parent;
}

void QtWindowHost::showDustbinDialog() {
    if (!main_) return;
    frmDustbin model(*main_);
    model.Form_Load();
    DustbinDialog dialog(model, parent_);
    dialog.exec();
}

}  // namespace zv::qt
