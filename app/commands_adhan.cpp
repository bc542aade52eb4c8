// The adhan and reminders dialog: the sound files and their volume, a
// reminder and an iqama per prayer, and the Friday prayer, as settings.ini
// stores them for the window and the strip.
#include <charconv>
#include <functional>
#include <utility>

#include "app/commands.h"
#include "astro/trace.h"
#include "engine/iqama.h"
#include "language/messages.h"

namespace orvano {

namespace {

constexpr const char* kAdhanCaption = N_("Adhan and reminders");
constexpr const char* kAdhanFileLabel = N_("Adhan file:");
constexpr const char* kFajrFileLabel = N_("Fajr adhan file:");
constexpr const char* kVolumeLabel = N_("Volume (0–100):");
constexpr const char* kReminderHeading = N_("Minutes before");
constexpr const char* kIqamaHeading = N_("Iqama: minutes after or HH:MM");
constexpr const char* kJumuahLabel = N_("Jumu'ah:");
constexpr const char* kJumuahTimeLabel = N_("Jumu'ah time:");
constexpr const char* kSwitchLines[] = {NC_("switch", "Off"), NC_("switch", "On")};
constexpr const char* kOk = NC_("control", "OK");
constexpr const char* kCancel = NC_("control", "Cancel");

// The refusals, each naming the field, then what it is not.
constexpr const char* kRefusedCaption = N_("Invalid field");
constexpr const char* kNotWhole =
    N_("%s: \"%s\" is not a number from %d to %d. Nothing was saved.");
constexpr const char* kNotIqama =
    N_("%s: \"%s\" is neither minutes from 1 to %d nor a time as HH:MM. Nothing was saved.");
constexpr const char* kNotClock = N_("%s: \"%s\" is not a time as HH:MM. Nothing was saved.");
constexpr const char* kReminderName = N_("%s reminder");
constexpr const char* kIqamaName = N_("%s iqama");
constexpr const char* kVolumeName = N_("Volume");
constexpr const char* kJumuahTimeName = N_("Jumu'ah time");
constexpr const char* kNotStored =
    N_("settings.ini cannot be written: the adhan and reminders were not saved.");

// The dialog's prayers as PrayerIndex (Chourouk has neither field).
constexpr std::array<int, kDialogPrayers> kDialogPrayerIndex = {0, 2, 3, 4, 5};

const char* PrayerValueName(int prayer) {
    return kPrayerValueNames[static_cast<size_t>(kDialogPrayerIndex[static_cast<size_t>(prayer)])];
}

std::string PrayerName(int prayer) {
    return Tr("prayer", PrayerValueName(prayer));
}

ControlSpec Made(ControlClass kind, std::string text, int id) {
    ControlSpec spec;
    spec.kind = kind;
    spec.text = std::move(text);
    spec.id = id;
    return spec;
}

bool IsWhole(const std::string& text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= min && value <= max;
}

// The edit fields as pointers into a form, each with its slot.
std::vector<std::pair<DialogSlot, std::string*>> FormFields(AdhanForm& form) {
    std::vector<std::pair<DialogSlot, std::string*>> fields = {
        {DialogSlot::AdhanFile, &form.file},
        {DialogSlot::FajrFile, &form.fajrFile},
        {DialogSlot::Volume, &form.volume},
        {DialogSlot::JumuahTime, &form.jumuahTime},
        {DialogSlot::JumuahIqama, &form.jumuahIqama}};
    for (int i = 0; i < kDialogPrayers; ++i) {
        fields.emplace_back(PrayerRowSlot(DialogSlot::Reminder, i),
                            &form.reminders[static_cast<size_t>(i)]);
        fields.emplace_back(PrayerRowSlot(DialogSlot::Iqama, i),
                            &form.iqama[static_cast<size_t>(i)]);
    }
    return fields;
}

class AdhanDialog final : public DialogHandler {
  public:
    AdhanDialog(const DialogLayout& layout, AdhanForm form,
                std::function<void(const std::string&)> refuse)
        : layout_(layout), form_(std::move(form)), refuse_(std::move(refuse)) {}

    const AdhanForm& form() const { return form_; }

    void OnCreate(Dialog& dialog) override {
        const auto fields = FormFields(form_);
        for (auto [slot, spec] : AdhanDialogControls(layout_)) {
            for (const auto& [fieldSlot, text] : fields) {
                if (fieldSlot == slot) spec.text = *text;
            }
            controls_[static_cast<size_t>(slot)] = dialog.CreateControl(spec);
        }
        if (Control* onOff = controls_[static_cast<size_t>(DialogSlot::JumuahSwitch)]) {
            for (const char* line : kSwitchLines) onOff->AddLine(Tr("switch", line));
            onOff->SelectLine(form_.jumuah ? 1 : 0);
        }
    }

    void OnCommand(Dialog& dialog, int id, int /*code*/) override {
        if (id == kIdDialogCancel) {
            dialog.End(0);
            return;
        }
        if (id != kIdDialogOk) return;
        AdhanForm typed = form_;
        for (const auto& [slot, text] : FormFields(typed)) {
            if (const Control* field = controls_[static_cast<size_t>(slot)])
                *text = field->GetText();
        }
        if (const Control* onOff = controls_[static_cast<size_t>(DialogSlot::JumuahSwitch)]) {
            typed.jumuah = onOff->SelectedLine() == 1;
        }
        const std::string refused = RefusedAdhanField(typed);
        if (!refused.empty()) {
            refuse_(refused);
            return;
        }
        form_ = std::move(typed);
        dialog.End(1);
    }

  private:
    DialogLayout layout_;
    AdhanForm form_;
    std::function<void(const std::string&)> refuse_;
    std::array<Control*, kDialogSlotCount> controls_{};
};

}  // namespace

std::string AdhanDialogCaption() {
    return Tr(kAdhanCaption);
}

std::vector<std::pair<DialogSlot, ControlSpec>> AdhanDialogControls(const DialogLayout& layout) {
    std::vector<std::pair<DialogSlot, ControlSpec>> made = {
        {DialogSlot::AdhanFileLabel,
         Made(ControlClass::Label, Tr(kAdhanFileLabel), kIdDialogLabel)},
        {DialogSlot::AdhanFile, Made(ControlClass::Edit, "", 0)},
        {DialogSlot::FajrFileLabel, Made(ControlClass::Label, Tr(kFajrFileLabel), kIdDialogLabel)},
        {DialogSlot::FajrFile, Made(ControlClass::Edit, "", 0)},
        {DialogSlot::VolumeLabel, Made(ControlClass::Label, Tr(kVolumeLabel), kIdDialogLabel)},
        {DialogSlot::Volume, Made(ControlClass::Edit, "", 0)},
        {DialogSlot::ReminderHeading,
         Made(ControlClass::Label, Tr(kReminderHeading), kIdDialogLabel)},
        {DialogSlot::IqamaHeading, Made(ControlClass::Label, Tr(kIqamaHeading), kIdDialogLabel)},
    };
    // Row by row, so that the fields are visited in reading order.
    for (int i = 0; i < kDialogPrayers; ++i) {
        made.push_back({PrayerRowSlot(DialogSlot::PrayerLabel, i),
                        Made(ControlClass::Label, PrayerName(i), kIdDialogLabel)});
        made.push_back({PrayerRowSlot(DialogSlot::Reminder, i), Made(ControlClass::Edit, "", 0)});
        made.push_back({PrayerRowSlot(DialogSlot::Iqama, i), Made(ControlClass::Edit, "", 0)});
    }
    made.insert(
        made.end(),
        {
            {DialogSlot::JumuahLabel, Made(ControlClass::Label, Tr(kJumuahLabel), kIdDialogLabel)},
            {DialogSlot::JumuahSwitch, Made(ControlClass::ComboBox, "", 0)},
            {DialogSlot::JumuahTimeLabel,
             Made(ControlClass::Label, Tr(kJumuahTimeLabel), kIdDialogLabel)},
            {DialogSlot::JumuahTime, Made(ControlClass::Edit, "", 0)},
            {DialogSlot::JumuahIqama, Made(ControlClass::Edit, "", 0)},
            {DialogSlot::Ok, Made(ControlClass::Button, Tr("control", kOk), kIdDialogOk)},
            {DialogSlot::Cancel,
             Made(ControlClass::Button, Tr("control", kCancel), kIdDialogCancel)},
        });
    for (auto& [slot, spec] : made) {
        const Box& box = layout.at(slot);
        if (spec.id == 0) spec.id = kIdDialogField + static_cast<int>(slot);
        PlaceDialogControl(spec, box);
    }
    return made;
}

AdhanForm ReadAdhanForm(SettingsStore& settings) {
    AdhanForm form;
    const AdhanSettings adhan = ReadAdhanSettings(settings);
    form.file = adhan.file;
    form.fajrFile = adhan.fajrFile;
    form.volume = std::to_string(adhan.volume);
    for (int i = 0; i < kDialogPrayers; ++i) {
        const auto row = static_cast<size_t>(i);
        form.reminders[row] = ReadSettingText(settings, kRemindersGroup, PrayerValueName(i));
        form.iqama[row] = ReadSettingText(settings, kIqamaGroup, PrayerValueName(i));
    }
    form.jumuah = ReadSettingText(settings, kJumuahGroup, kJumuahEnabledValue) == "1";
    form.jumuahTime = ReadSettingText(settings, kJumuahGroup, kJumuahTimeValue);
    form.jumuahIqama = ReadSettingText(settings, kJumuahGroup, kJumuahIqamaValue);
    return form;
}

std::string RefusedAdhanField(const AdhanForm& form) {
    if (!IsWhole(form.volume, 0, kAdhanVolumeMax)) {
        return Format(Tr(kNotWhole), Tr(kVolumeName), form.volume.c_str(), 0, kAdhanVolumeMax);
    }
    for (int i = 0; i < kDialogPrayers; ++i) {
        const auto row = static_cast<size_t>(i);
        const std::string name = PrayerName(i);
        if (!ParseReminderMinutes(form.reminders[row])) {
            return Format(Tr(kNotWhole), Format(Tr(kReminderName), name.c_str()).c_str(),
                          form.reminders[row].c_str(), 0, kReminderMinutesMax);
        }
        if (!ParseIqamaRule(form.iqama[row])) {
            return Format(Tr(kNotIqama), Format(Tr(kIqamaName), name.c_str()).c_str(),
                          form.iqama[row].c_str(), kIqamaAfterMax);
        }
    }
    if (!form.jumuahTime.empty() && !ParseClockMinute(form.jumuahTime)) {
        return Format(Tr(kNotClock), Tr(kJumuahTimeName), form.jumuahTime.c_str());
    }
    if (!ParseIqamaRule(form.jumuahIqama)) {
        const std::string name = Tr("prayer", kJumuahName);
        return Format(Tr(kNotIqama), Format(Tr(kIqamaName), name.c_str()).c_str(),
                      form.jumuahIqama.c_str(), kIqamaAfterMax);
    }
    return "";
}

bool WriteAdhanForm(SettingsStore& settings, const AdhanForm& form) {
    // One batch: the file is replaced once with every value, or left as it was.
    std::vector<TextSetting> texts = {{kAdhanSettingsKey, kAdhanFileValue, form.file},
                                      {kAdhanSettingsKey, kAdhanFajrFileValue, form.fajrFile},
                                      {kAdhanSettingsKey, kAdhanVolumeValue, form.volume}};
    for (int i = 0; i < kDialogPrayers; ++i) {
        const auto row = static_cast<size_t>(i);
        texts.push_back({kRemindersGroup, PrayerValueName(i), form.reminders[row]});
        texts.push_back({kIqamaGroup, PrayerValueName(i), form.iqama[row]});
    }
    texts.push_back({kJumuahGroup, kJumuahEnabledValue, form.jumuah ? "1" : "0"});
    texts.push_back({kJumuahGroup, kJumuahTimeValue, form.jumuahTime});
    texts.push_back({kJumuahGroup, kJumuahIqamaValue, form.jumuahIqama});
    return settings.WriteTexts(texts);
}

bool ShowAdhanDialog(int dpi, const std::function<bool(const DialogSpec&, DialogHandler&)>& show) {
    const DialogLayout layout = DialogLayoutOf(DialogKind::Adhan, dpi, dpi);
    AdhanForm form;
    form.volume = std::to_string(AdhanSettings{}.volume);
    AdhanDialog dialog(layout, form, [](const std::string&) {});
    return show(DialogSpecOf(DialogKind::Adhan, layout), dialog);
}

void EditAdhanSettings(App& app, Window& window) {
    SettingsStore& settings = app.platform.settings;
    const DialogLayout layout = DialogLayoutOf(DialogKind::Adhan, DpiX(app), DpiY(app));
    AdhanDialog dialog(layout, ReadAdhanForm(settings), [&app](const std::string& refused) {
        app.platform.messages.Show(refused, Tr(kRefusedCaption));
    });
    if (window.RunDialog(DialogSpecOf(DialogKind::Adhan, layout), dialog) != 1) return;
    if (!WriteAdhanForm(settings, dialog.form())) {
        app.platform.messages.Show(Tr(kNotStored), Tr(kAdhanCaption));
    }
    ReadPrayerSettings(app);
    RepaintAll(app, window);
}

}  // namespace orvano
