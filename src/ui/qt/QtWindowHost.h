#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Services.h"

namespace zv {
class AppWindow;
}

namespace zv::qt {

// Opens the dustbin dialog over the main window.
class QtWindowHost final : public WindowHost {
  public:
    // The window is made after the services, so it is attached afterwards.
    void attach(AppWindow& main, QWidget* parent);
    void showDustbinDialog() override;

  private:
    AppWindow* main_ = nullptr;
    QPointer<QWidget> parent_;
};

}  // namespace zv::qt
