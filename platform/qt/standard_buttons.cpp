#include "platform/qt/standard_buttons.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <array>
#include <cstring>

#include "language/messages.h"

namespace orvano {

namespace {

struct ButtonLabel {
    QDialogButtonBox::StandardButton button;
    const char* label;  // with "&" before the key, as Qt writes them
};

constexpr std::array<ButtonLabel, 15> kLabels = {{
    {QDialogButtonBox::Ok, NC_("standard button", "OK")},
    {QDialogButtonBox::Cancel, NC_("standard button", "&Cancel")},
    {QDialogButtonBox::Yes, NC_("standard button", "&Yes")},
    {QDialogButtonBox::No, NC_("standard button", "&No")},
    {QDialogButtonBox::Save, NC_("standard button", "&Save")},
    {QDialogButtonBox::Close, NC_("standard button", "&Close")},
    {QDialogButtonBox::Apply, NC_("standard button", "Apply")},
    {QDialogButtonBox::Discard, NC_("standard button", "Discard")},
    {QDialogButtonBox::Open, NC_("standard button", "&Open")},
    {QDialogButtonBox::Help, NC_("standard button", "Help")},
    {QDialogButtonBox::Reset, NC_("standard button", "Reset")},
    {QDialogButtonBox::Abort, NC_("standard button", "Abort")},
    {QDialogButtonBox::Retry, NC_("standard button", "Retry")},
    {QDialogButtonBox::Ignore, NC_("standard button", "Ignore")},
    {QDialogButtonBox::RestoreDefaults, NC_("standard button", "Restore Defaults")},
}};

template <typename Find>
void Label(const Find& find) {
    for (const ButtonLabel& l : kLabels) {
        QAbstractButton* button = find(l.button);
        if (button == nullptr) continue;
        const char* text = Tr("standard button", l.label);
        if (std::strcmp(text, l.label) != 0) button->setText(QString::fromUtf8(text));
    }
}

}  // namespace

void LabelStandardButtons(QMessageBox& box) {
    Label([&box](QDialogButtonBox::StandardButton b) {
        return box.button(static_cast<QMessageBox::StandardButton>(b));
    });
}

void LabelStandardButtons(QDialogButtonBox& box) {
    Label([&box](QDialogButtonBox::StandardButton b) { return box.button(b); });
}

}  // namespace orvano
