#include "ui/qt/Mirror.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt/Colours.h"

namespace zv::qt {

namespace {

void setPaletteColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::Active, role) == colour) return;
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    widget->setPalette(palette);
}

}  // namespace

QString withMnemonic(const std::string& caption, QChar mnemonic) {
    QString text = QString::fromStdString(caption);
    text.replace('&', "&&");
    if (mnemonic.isNull()) return text;
    const qsizetype at = text.indexOf(mnemonic);
    if (at >= 0) text.insert(at, '&');
    return text;
}

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

void mirrorCommon(QWidget* widget, const ControlState& state) {
    const QString tip = QString::fromStdString(state.toolTip);
    if (widget->toolTip() != tip) widget->setToolTip(tip);
    if (widget->isEnabled() != state.enabled) widget->setEnabled(state.enabled);
    if (widget->isHidden() == state.visible) widget->setVisible(state.visible);
}

void mirrorTextBox(QLineEdit* box, const ControlState& state) {
    const QString text = QString::fromStdString(state.text);
    if (box->text() != text) box->setText(text);
    const QPalette& palette = box->palette();
    setPaletteColour(box, QPalette::Text, toQColor(state.foreColour, palette));
    setPaletteColour(box, QPalette::Base, toQColor(state.backColour, palette));
    mirrorCommon(box, state);
}

void mirrorButton(QAbstractButton* button, const ControlState& state, QChar mnemonic) {
    const QString text = withMnemonic(state.text, mnemonic);
    if (button->text() != text) button->setText(text);
    mirrorCommon(button, state);
}

void mirrorLabel(QLabel* label, const ControlState& state, QChar mnemonic) {
    const QString text = withMnemonic(state.text, mnemonic);
    if (label->text() != text) label->setText(text);
    setPaletteColour(label, QPalette::WindowText, toQColor(state.foreColour, label->palette()));
    mirrorCommon(label, state);
}

}  // namespace zv::qt
