#include "tests/support/recording_platform.h"

#include <algorithm>

namespace orvano::testing {

namespace {

class MemoryKey final : public SettingsKey {
  public:
    MemoryKey(MemorySettingsStore& store, std::string path)
        : store_(store), path_(std::move(path)) {}
    ~MemoryKey() override { store_.log.push_back("close " + path_); }

    std::optional<std::vector<std::uint8_t>> ReadRaw(const std::string& name) override {
        const auto key = store_.keys.find(path_);
        if (key == store_.keys.end()) return std::nullopt;
        const auto value = key->second.find(name);
        if (value == key->second.end()) return std::nullopt;
        return value->second;
    }
    bool WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        store_.log.push_back("write " + path_ + " " + name);
        const auto key = store_.keys.find(path_);
        if (store_.failWrites || key == store_.keys.end()) return false;
        key->second[name] = bytes;
        return true;
    }

  private:
    MemorySettingsStore& store_;
    std::string path_;
};

}  // namespace

std::unique_ptr<SettingsKey> MemorySettingsStore::OpenKey(const std::string& path) {
    if (keys.find(path) == keys.end()) {
        log.push_back("open-missing " + path);
        return nullptr;
    }
    log.push_back("open " + path);
    return std::make_unique<MemoryKey>(*this, path);
}

bool MemorySettingsStore::WriteTexts(const std::vector<TextSetting>& texts) {
    log.push_back("write-texts " + std::to_string(texts.size()));
    if (failWrites) return false;
    for (const TextSetting& setting : texts) {
        keys[setting.key][setting.name].assign(setting.text.begin(), setting.text.end());
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> MemorySettingsStore::Value(const std::string& path,
                                                                    const std::string& name) const {
    const auto key = keys.find(path);
    if (key == keys.end()) return std::nullopt;
    const auto value = key->second.find(name);
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

int MemorySettingsStore::OpenCount() const {
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [](const std::string& e) { return e.rfind("open ", 0) == 0; }));
}

int MemorySettingsStore::CloseCount() const {
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [](const std::string& e) { return e.rfind("close ", 0) == 0; }));
}

Control* FakeWindow::CreateControl(const ControlSpec& spec) {
    if (std::find(failingControls.begin(), failingControls.end(), spec.id) != failingControls.end())
        return nullptr;
    controls.push_back(std::make_unique<FakeControl>(spec));
    return controls.back().get();
}

FakeControl* FakeDialog::ById(int id) const {
    for (const auto& control : controls) {
        if (control->spec.id == id) return control.get();
    }
    return nullptr;
}

void FakeDialog::Type(int id, const std::string& text) {
    if (FakeControl* field = ById(id)) field->text = text;
    SendCommand(id, kNotifyEditTextChange);
}

int FakeWindow::RunDialog(const DialogSpec& spec, DialogHandler& dialogHandler) {
    dialogs.push_back(std::make_unique<FakeDialog>(spec, dialogHandler));
    FakeDialog& dialog = *dialogs.back();
    dialogHandler.OnCreate(dialog);
    if (dialogScript) dialogScript(dialog);
    return dialog.result.value_or(0);
}

void FakeWindow::Close() {
    if (closed) return;
    closed = true;
    handler->OnDestroy(*this);
}

FakeControl* FakeWindow::ById(int id) const {
    for (const auto& control : controls) {
        if (control->spec.id == id) return control.get();
    }
    return nullptr;
}

FakeControl* FakeWindow::At(size_t index) const {
    return index < controls.size() ? controls[index].get() : nullptr;
}

std::vector<size_t> FakeWindow::VisibleIndices() const {
    std::vector<size_t> visible;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i]->visible) visible.push_back(i);
    }
    return visible;
}

Window* FakeWindowSystem::CreateMainWindow(const MainWindowSpec& spec, WindowHandler& handler) {
    created = spec;
    if (failCreate) return nullptr;
    const Rect client = clientOverride.value_or(Rect{0, 0, spec.clientWidth, spec.clientHeight});
    window = std::make_unique<FakeWindow>(client, &handler);
    handler.OnCreate(*window);
    return window.get();
}

}  // namespace orvano::testing
