// The Today item's options dialog, built from the plug-in's dialog resource
// 500 and driven by the plug-in's dialog procedure.
#pragma once

#include <QDialog>
#include <map>

#include "platform/today_host.h"

class QAbstractButton;
class QCheckBox;

namespace orvano {

struct DialogControl {
    enum Kind { CheckBox, StaticText, PushButton } kind;
    int id;  // 0: none
    const char* text;
    int x, y, width, height;  // dialog units
};

struct DialogTemplate {
    const char* caption;
    const char* font;
    int pointSize;
    int width, height;  // dialog units
    const DialogControl* controls;
    int controlCount;
};

const DialogTemplate& OptionsDialogTemplate();

class OptionsDialog final : public QDialog, public TodayDialog {
  public:
    // Its texts are shown in the language in use.
    explicit OptionsDialog(TodayDialogProc proc, QWidget* parent = nullptr);

    void SetUpFullScreen(int flags) override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void EndDialog(int result) override { done(result); }

    QAbstractButton* Control(int id) const;

  private:
    void Command(int id);

    TodayDialogProc proc_;
    std::map<int, QAbstractButton*> controls_;
    QWidget* area_ = nullptr;
};

}  // namespace orvano
