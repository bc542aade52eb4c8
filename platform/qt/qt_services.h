// The platform services on Qt: screen, message boxes, shell, string table.
#pragma once

#include <functional>

#include "fileio/message_sink.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "platform/strings.h"

class QWidget;

namespace orvano {

// The primary screen's logical resolution, or a fixed value that replaces it
// (for rendering and tests at another resolution).
class QtScreen final : public Screen {
  public:
    explicit QtScreen(int overrideDpi = 0) : override_(overrideDpi) {}
    int LogicalDpiX() const override;
    int LogicalDpiY() const override;

  private:
    int override_;
};

class QtMessageBoxes final : public MessageSink {
  public:
    // The owner of every box, asked at each one (nullptr: no owner).
    void SetOwner(std::function<QWidget*()> owner) { owner_ = std::move(owner); }
    void Show(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;

  private:
    std::function<QWidget*()> owner_;
};

class QtShell final : public Shell {
  public:
    bool OpenDocument(const std::string& pathOrUrl) override;
    bool StartProgram(const std::string& program,
                      const std::vector<std::string>& arguments) override;
    std::string ModulePath() const override;
    void ShowInputPanelButton(bool) override {}
};

// The string table compiled into the program, :/orvano/string/ID.
class QtStringTable final : public StringTable {
  public:
    std::optional<std::string> Load(int id) const override;
};

}  // namespace orvano
