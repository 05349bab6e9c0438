#include "ui/qt/Mirror.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt/Colours.h"

namespace zv::qt {

namespace {

void SetPaletteColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::Active, role) == colour) return;
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    widget->setPalette(palette);
}

}  // namespace

QString WithMnemonic(const std::string& caption, QChar mnemonic) {
    QString text = QString::fromStdString(caption);
    text.replace('&', "&&");
    if (mnemonic.isNull()) return text;
    const qsizetype at = text.indexOf(mnemonic);
    if (at >= 0) text.insert(at, '&');
    return text;
}

void KeepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

void MirrorCommon(QWidget* widget, const ControlState& state) {
    const QString tip = QString::fromStdString(state.toolTip);
    if (widget->toolTip() != tip) widget->setToolTip(tip);
    if (widget->isEnabled() != state.enabled) widget->setEnabled(state.enabled);
    if (widget->isHidden() == state.visible) widget->setVisible(state.visible);
}

void MirrorTextBox(QLineEdit* box, const ControlState& state) {
    const QString text = QString::fromStdString(state.text);
    if (box->text() != text) box->setText(text);
    const QPalette& palette = box->palette();
    SetPaletteColour(box, QPalette::Text, ToQColor(state.foreColour, palette));
    SetPaletteColour(box, QPalette::Base, ToQColor(state.backColour, palette));
    MirrorCommon(box, state);
}

void MirrorButton(QAbstractButton* button, const ControlState& state, QChar mnemonic) {
    const QString text = WithMnemonic(state.text, mnemonic);
    if (button->text() != text) button->setText(text);
    MirrorCommon(button, state);
}

void MirrorLabel(QLabel* label, const ControlState& state, QChar mnemonic) {
    const QString text = WithMnemonic(state.text, mnemonic);
    if (label->text() != text) label->setText(text);
    SetPaletteColour(label, QPalette::WindowText, ToQColor(state.foreColour, label->palette()));
    MirrorCommon(label, state);
}

}  // namespace zv::qt
