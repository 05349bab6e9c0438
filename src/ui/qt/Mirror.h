#pragma once

#include <QChar>
#include <QString>

#include "app/WindowModel.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

namespace zv::qt {

// Brings one widget up to date with the state of its control. Each touches
// the widget only where it differs, so mirroring often costs little.
void mirrorCommon(QWidget* widget, const ControlState& state);
void mirrorTextBox(QLineEdit* box, const ControlState& state);
void mirrorButton(QAbstractButton* button, const ControlState& state, QChar mnemonic);
void mirrorLabel(QLabel* label, const ControlState& state, QChar mnemonic = {});

// A caption with an underlined access letter: its first `mnemonic`
// (case-sensitive), when it has one.
QString withMnemonic(const std::string& caption, QChar mnemonic);
// Hidden widgets keep their place in the layout.
void keepPlaceWhenHidden(QWidget* widget);

}  // namespace zv::qt
