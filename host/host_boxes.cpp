#include "host/host_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "platform/qt/standard_buttons.h"

namespace orvano {

namespace {

int VisibleBoxes() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) ++n;
    }
    return n;
}

}  // namespace

HostMessageBoxes::~HostMessageBoxes() {
    delete box_.data();
}

void HostMessageBoxes::Show(const std::string& text, const std::string& caption) {
    ++count_;
    if (toStderr_) {
        std::fprintf(stderr, "orvano-today: %s: %s\n", caption.c_str(), text.c_str());
        if (trace_) trace_("box " + caption + ": " + text);
        return;
    }
    const bool replacing = Showing();
    if (box_.isNull()) {
        box_ = new QMessageBox(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok,
                               owner_ ? owner_() : nullptr);
        box_->setWindowModality(Qt::NonModal);
        box_->setAttribute(Qt::WA_DeleteOnClose, false);
        LabelStandardButtons(*box_);
    }
    box_->setWindowTitle(QString::fromStdString(caption));
    box_->setText(QString::fromStdString(text));
    box_->show();
    box_->raise();
    if (trace_) {
        trace_(std::string(replacing ? "box replaced " : "box shown ") + caption + ": " + text +
               " (open " + std::to_string(VisibleBoxes()) + ")");
    }
}

bool HostMessageBoxes::Showing() const {
    return !box_.isNull() && box_->isVisible();
}

void HostMessageBoxes::Close() {
    if (Showing()) {
        box_->hide();
        if (trace_) trace_("box closed");
    }
}

void HostMessageBoxes::QuitWhenClosed() {
    if (Showing()) {
        QObject::connect(box_.data(), &QMessageBox::finished, qApp, &QCoreApplication::quit);
    }
}

}  // namespace orvano
