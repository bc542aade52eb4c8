#include "host/options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "host/host_text.h"
#include "platform/qt/standard_buttons.h"

namespace orvano {

namespace {

constexpr DialogControl kOptionsControls[] = {
    {DialogControl::CheckBox, 1002, N_("Fajr alarm"), 20, 9, 53, 10},
    {DialogControl::CheckBox, 1003, N_("Zuhr alarm"), 20, 19, 55, 10},
    {DialogControl::CheckBox, 1004, N_("Asr alarm"), 20, 29, 51, 10},
    {DialogControl::CheckBox, 1005, N_("Maghrib alarm"), 20, 39, 65, 10},
    {DialogControl::CheckBox, 1006, N_("Isha alarm"), 20, 49, 54, 10},
    {DialogControl::StaticText, 0, kWordStartOrvano, 11, 70, 77, 21},
    {DialogControl::PushButton, 1001, "Orvano", 91, 72, 50, 14},
    {DialogControl::PushButton, 1007, kWordAdhanButton, 91, 9, 50, 14},
};

constexpr DialogTemplate kOptionsTemplate = {
    NC_("options dialog", "Configuration"),       "MS Shell Dlg", 8, 152, 102, kOptionsControls,
    static_cast<int>(std::size(kOptionsControls))};

}  // namespace

const DialogTemplate& OptionsDialogTemplate() {
    return kOptionsTemplate;
}

OptionsDialog::OptionsDialog(TodayDialogProc proc, QWidget* parent) : QDialog(parent), proc_(proc) {
    const DialogTemplate& t = kOptionsTemplate;
    setWindowTitle(QString::fromUtf8(Tr("options dialog", t.caption)));
    setModal(true);
    QFont font(QString::fromUtf8(t.font), t.pointSize);
    setFont(font);
    // Dialog units: a quarter of the font's average character width across,
    // an eighth of its height down.
    const QFontMetrics metrics(font);
    const double baseX =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
    const int baseY = metrics.height();
    auto px = [&](int dlu) { return static_cast<int>(std::lround(dlu * baseX / 4)); };
    auto py = [&](int dlu) { return (dlu * baseY + 4) / 8; };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    area_ = new QWidget(this);
    area_->setFixedSize(px(t.width), py(t.height));
    layout->addWidget(area_);
    for (int i = 0; i < t.controlCount; ++i) {
        const DialogControl& c = t.controls[i];
        QWidget* w = nullptr;
        const QString text = Say(c.text);
        switch (c.kind) {
            case DialogControl::CheckBox: {
                auto* box = new QCheckBox(text, area_);
                controls_[c.id] = box;
                w = box;
                break;
            }
            case DialogControl::StaticText: {
                auto* label = new QLabel(text, area_);
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                w = label;
                break;
            }
            case DialogControl::PushButton: {
                auto* button = new QPushButton(text, area_);
                controls_[c.id] = button;
                const int id = c.id;
                connect(button, &QPushButton::clicked, this, [this, id] { Command(id); });
                w = button;
                break;
            }
        }
        // Check boxes take the width their text needs: the resource's widths
        // were measured for another face.
        w->setGeometry(px(c.x), py(c.y),
                       c.kind == DialogControl::CheckBox
                           ? std::max(px(c.width), w->sizeHint().width())
                           : px(c.width),
                       py(c.height));
        w->setObjectName(QString::number(c.id));
    }
    proc_(this, kMsgInitDialog, 0, 0);
}

void OptionsDialog::SetUpFullScreen(int flags) {
    // Flag 1 asks for a "done" button: an OK button here.
    if ((flags & 1) == 0) return;
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    box->setObjectName("done");
    LabelStandardButtons(*box);
    connect(box, &QDialogButtonBox::accepted, this, [this] { Command(kDialogDone); });
    static_cast<QVBoxLayout*>(layout())->addWidget(box);
}

void OptionsDialog::SetCheck(int id, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(Control(id))) box->setChecked(checked);
}

bool OptionsDialog::IsChecked(int id) const {
    const auto* box = qobject_cast<QCheckBox*>(Control(id));
    return box != nullptr && box->isChecked();
}

QAbstractButton* OptionsDialog::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void OptionsDialog::Command(int id) {
    proc_(this, kMsgCommand, static_cast<std::uintptr_t>(id), 0);
}

}  // namespace orvano
