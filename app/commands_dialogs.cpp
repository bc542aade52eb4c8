// The Configuration page's dialogs: a search field over a list of results,
// for the gazetteer's places and for the catalogue's methods.
#include <functional>
#include <utility>

#include "app/commands.h"
#include "app/controls.h"
#include "app/layout.h"
#include "config/grammar.h"
#include "config/methods.h"
#include "engine/schedule.h"
#include "language/languages.h"
#include "language/messages.h"
#include "places/new_town.h"
#include "places/text_key.h"
#include "platform/user_files.h"

namespace orvano {

namespace {

// At most this many places are listed: a person reads the first few.
constexpr size_t kFoundPlaces = 50;

constexpr const char* kFindCaption = N_("Find a town");
constexpr const char* kFindPrompt = N_("Town, and its country if you like:");
constexpr const char* kFindOk = NC_("control", "Add");
constexpr const char* kMethodCaption = N_("Calculation method");
constexpr const char* kMethodPrompt = N_("Method, by name or authority:");
constexpr const char* kRuleLabel = N_("High latitudes:");
constexpr const char* kOk = NC_("control", "OK");
constexpr const char* kCancel = NC_("control", "Cancel");
constexpr const char* kAddedStatus = N_("Added: Save stores it");
constexpr const char* kKnownStatus = N_("Already in data.cfg");
constexpr const char* kTableFull = N_("The town table is full: delete a town first.");
constexpr const char* kNoGazetteer = N_("The list of places cannot be read: %s");
// One line per rule, in the order of HighLatitudeRule.
constexpr const char* kRuleLines[] = {N_("1/7 of the night"), N_("Middle of the night"),
                                      N_("Angle/60 of the night"), N_("No estimate")};

// A search field over a list that `search` fills at every change of the text;
// with a rule list, the high-latitude rule under them. Ended with 1 by OK or
// a double click on a result, with 0 by Cancel.
class ChooserDialog final : public DialogHandler {
  public:
    using Search = std::function<std::vector<std::string>(const std::string& text)>;

    ChooserDialog(DialogKind kind, const DialogLayout& layout, Search search)
        : kind_(kind), layout_(layout), search_(std::move(search)) {}

    std::string typed;     // the search field's text at first
    int initialLine = -1;  // the result selected at first
    int ruleLine = -1;     // the rule selected at first, and at the end
    int chosen = -1;       // the result chosen; -1 for none

    void OnCreate(Dialog& dialog) override {
        for (auto [slot, spec] : DialogControls(kind_, layout_)) {
            if (slot == DialogSlot::SearchField) spec.text = typed;
            Control* made = dialog.CreateControl(spec);
            if (slot == DialogSlot::SearchField) field_ = made;
            if (slot == DialogSlot::Results) results_ = made;
            if (slot == DialogSlot::RuleList) rules_ = made;
        }
        if (rules_ != nullptr) {
            for (const char* line : kRuleLines) rules_->AddLine(Tr(line));
            rules_->SelectLine(ruleLine);
        }
        Fill(typed);
        if (results_ != nullptr) results_->SelectLine(initialLine);
    }

    void OnCommand(Dialog& dialog, int id, int code) override {
        if (id == kIdDialogSearch && code == kNotifyEditTextChange && field_ != nullptr) {
            Fill(field_->GetText());
            if (results_ != nullptr) results_->SelectLine(0);
        } else if ((id == kIdDialogResults && code == kNotifyDoubleClick) || id == kIdDialogOk) {
            chosen = results_ != nullptr ? results_->SelectedLine() : -1;
            if (rules_ != nullptr) ruleLine = rules_->SelectedLine();
            // Without a rule to change, OK needs a result.
            if (chosen >= 0 || rules_ != nullptr) dialog.End(1);
        } else if (id == kIdDialogCancel) {
            dialog.End(0);
        }
    }

  private:
    void Fill(const std::string& text) {
        if (results_ == nullptr) return;
        results_->RemoveAllLines();
        for (const std::string& line : search_(text)) results_->AddLine(line);
    }

    DialogKind kind_;
    DialogLayout layout_;
    Search search_;
    Control* field_ = nullptr;
    Control* results_ = nullptr;
    Control* rules_ = nullptr;
};

// The gazetteer, read the first time a search needs it; nullptr, with the
// reason told, when it cannot be read.
const Gazetteer* LoadedGazetteer(App& app) {
    if (!app.gazetteer && app.gazetteerError.empty()) {
        app.gazetteer =
            Gazetteer::Load(app.files.installedFolder + "/gazetteer.tsv", app.gazetteerError);
    }
    if (app.gazetteer) return &*app.gazetteer;
    app.platform.messages.Show(Format(Tr(kNoGazetteer), app.gazetteerError.c_str()),
                               Tr(kFindCaption));
    return nullptr;
}

// The tables' town of that country and name, or -1.
int TownNamed(const ConfigTables& tables, const Town& town) {
    const int towns = std::min(static_cast<int>(tables.Towns.size()), tables.NumberOfTowns);
    for (int i = 0; i < towns; ++i) {
        const Town& t = tables.Towns[static_cast<size_t>(i)];
        if (t.Country == town.Country && t.Name == town.Name) return i;
    }
    return -1;
}

// The selected town becomes `index`: place, fields, the town's clock.
void SelectTownAt(App& app, int index) {
    ConfigTables& tables = app.engine.tables;
    tables.TownSelected = index;
    FillCurrentPlace(tables.Towns[static_cast<size_t>(index)], app.engine.place);
    if (app.ui.controls.townList != nullptr) {
        app.ui.controls.townList->SelectLine(LineOfTown(app, index));
    }
    FillConfigFields(app);
}

// The methods the window can compute a town with: the nine slots, then the
// catalogue's methods the engine holds.
std::vector<Method> ComputableMethods(const App& app) {
    MethodCatalogue catalogue =
        FullCatalogue(MethodFoldersOf(app.files.installedFolder), app.engine.tables);
    std::vector<Method> methods;
    for (Method& m : catalogue.methods) {
        if (m.slot >= 0) methods.push_back(std::move(m));
    }
    for (Method& m : catalogue.methods) {
        if (m.slot < 0 && app.engine.methods.count(m.id) != 0) methods.push_back(std::move(m));
    }
    return methods;
}

// The method the town is computed with: its catalogue method, else its slot.
std::string TownMethodId(const App& app) {
    const CurrentPlace& place = app.engine.place;
    if (app.engine.methods.count(place.Method) != 0 || SlotOfMethodId(place.Method) >= 0) {
        return place.Method;
    }
    return "slot" + std::to_string(place.Convention);
}

// The town takes the method: a slot is the town line's convention, and
// leaves no method record; any other method is named by the record.
bool TakeMethod(App& app, const Method& method) {
    CurrentPlace& place = app.engine.place;
    const std::string before = TownMethodId(app);
    if (method.slot >= 0) {
        place.Method.clear();
        place.Convention = method.slot;
    } else {
        place.Method = method.id;
    }
    if (app.ui.controls.conventionList != nullptr) {
        app.ui.controls.conventionList->SelectLine(place.Convention);
    }
    ShowTownMethod(app);
    return TownMethodId(app) != before;
}

}  // namespace

std::vector<std::pair<DialogSlot, ControlSpec>> DialogControls(DialogKind kind,
                                                               const DialogLayout& layout) {
    if (kind == DialogKind::Adhan) return AdhanDialogControls(layout);
    const bool find = kind == DialogKind::Find;
    const struct {
        DialogSlot slot;
        ControlClass kind;
        int id;
        std::string text;
    } made[] = {
        {DialogSlot::Prompt, ControlClass::Label, kIdDialogLabel,
         Tr(find ? kFindPrompt : kMethodPrompt)},
        {DialogSlot::SearchField, ControlClass::Edit, kIdDialogSearch, ""},
        {DialogSlot::Results, ControlClass::List, kIdDialogResults, ""},
        {DialogSlot::RuleLabel, ControlClass::Label, kIdDialogLabel, Tr(kRuleLabel)},
        {DialogSlot::RuleList, ControlClass::ComboBox, kIdDialogRuleList, ""},
        {DialogSlot::Ok, ControlClass::Button, kIdDialogOk, Tr("control", find ? kFindOk : kOk)},
        {DialogSlot::Cancel, ControlClass::Button, kIdDialogCancel, Tr("control", kCancel)},
    };
    std::vector<std::pair<DialogSlot, ControlSpec>> controls;
    for (const auto& m : made) {
        if (!layout.uses(m.slot)) continue;
        const Box& box = layout.at(m.slot);
        ControlSpec spec;
        spec.kind = m.kind;
        spec.text = m.text;
        spec.id = m.id;
        PlaceDialogControl(spec, box);
        controls.emplace_back(m.slot, spec);
    }
    return controls;
}

void PlaceDialogControl(ControlSpec& spec, const Box& box) {
    spec.x = box.x;
    spec.y = box.y;
    spec.width = box.width;
    spec.height = box.height;
    spec.visible = true;
    spec.language = Tr("locale of the date and time pickers", "en");
}

DialogLayout DialogLayoutOf(DialogKind kind, int dpiX, int dpiY) {
    const bool rightToLeft = IsRightToLeft(LanguageInUse());
    if (kind == DialogKind::Adhan) return MakeAdhanDialogLayout(dpiX, dpiY, rightToLeft);
    return MakeDialogLayout(dpiX, dpiY, kind == DialogKind::Method, rightToLeft);
}

DialogSpec DialogSpecOf(DialogKind kind, const DialogLayout& layout) {
    if (kind == DialogKind::Adhan)
        return DialogSpec{AdhanDialogCaption(), layout.width, layout.height};
    return DialogSpec{Tr(kind == DialogKind::Find ? kFindCaption : kMethodCaption), layout.width,
                      layout.height};
}

namespace {

// The search of the gazetteer: `found` holds the places of the lines listed.
ChooserDialog FindDialog(const Gazetteer& gazetteer, const DialogLayout& layout,
                         std::vector<size_t>& found) {
    return ChooserDialog(DialogKind::Find, layout, [&gazetteer, &found](const std::string& text) {
        found = gazetteer.Search(text, kFoundPlaces);
        std::vector<std::string> lines;
        lines.reserve(found.size());
        for (const size_t i : found) {
            lines.push_back(gazetteer.DisplayName(i) + " (" + gazetteer.place(i).zone + ")");
        }
        return lines;
    });
}

}  // namespace

bool ShowFindDialog(const Gazetteer& gazetteer, int dpi, const std::string& typed,
                    const std::function<bool(const DialogSpec&, DialogHandler&)>& show) {
    const DialogLayout layout = DialogLayoutOf(DialogKind::Find, dpi, dpi);
    std::vector<size_t> found;
    ChooserDialog dialog = FindDialog(gazetteer, layout, found);
    dialog.typed = typed;
    dialog.initialLine = 0;
    return show(DialogSpecOf(DialogKind::Find, layout), dialog);
}

void FindTown(App& app, Window& window) {
    if (app.engine.tables.NumberOfTowns >= kMaxNumberOfTowns) {
        app.platform.messages.Show(Tr(kTableFull), Tr(kFindCaption));
        return;
    }
    const Gazetteer* gazetteer = LoadedGazetteer(app);
    if (gazetteer == nullptr) return;
    std::vector<size_t> found;
    const DialogLayout layout = DialogLayoutOf(DialogKind::Find, DpiX(app), DpiY(app));
    ChooserDialog dialog = FindDialog(*gazetteer, layout, found);
    if (window.RunDialog(DialogSpecOf(DialogKind::Find, layout), dialog) != 1) return;
    if (dialog.chosen < 0 || static_cast<size_t>(dialog.chosen) >= found.size()) return;
    const Town town = TownFromPlace(gazetteer->place(found[static_cast<size_t>(dialog.chosen)]),
                                    app.platform.clock.Now().year);
    const int known = TownNamed(app.engine.tables, town);
    if (known >= 0) {
        SelectTownAt(app, known);
    } else {
        FillCurrentPlace(town, app.engine.place);
        AppendTown(app, town);
    }
    RememberLastTown(app);
    if (app.ui.exploring == 0) TakeTownNow(app, TownNow(app));
    ShowStatus(app, window, Tr(known >= 0 ? kKnownStatus : kAddedStatus));
}

void ChooseMethod(App& app, Window& window) {
    const std::vector<Method> methods = ComputableMethods(app);
    std::vector<const Method*> shown;
    auto lineOf = [](const Method& m) {
        return MethodNameIn(m, LanguageInUse()) + " (" + m.id + ")";
    };
    const DialogLayout layout = DialogLayoutOf(DialogKind::Method, DpiX(app), DpiY(app));
    ChooserDialog dialog(
        DialogKind::Method, layout, [&methods, &shown, &lineOf](const std::string& text) {
            const std::string key = SearchKey(text);
            shown.clear();
            std::vector<std::string> lines;
            for (const Method& m : methods) {
                const std::string words =
                    SearchKey(m.id + " " + m.name + " " + m.nameFr + " " + m.authority);
                if (words.find(key) == std::string::npos) continue;
                shown.push_back(&m);
                lines.push_back(lineOf(m));
            }
            return lines;
        });
    const std::string current = TownMethodId(app);
    for (size_t i = 0; i < methods.size(); ++i) {
        if (methods[i].id == current) dialog.initialLine = static_cast<int>(i);
    }
    // The rule in force is shown; left as it is, it stays unchosen, so the
    // method's own rule goes on following the method.
    const int shownRule = static_cast<int>(HighLatitudeRuleOf(app.engine));
    dialog.ruleLine = shownRule;
    if (window.RunDialog(DialogSpecOf(DialogKind::Method, layout), dialog) != 1) return;
    bool changed = false;
    if (dialog.chosen >= 0 && static_cast<size_t>(dialog.chosen) < shown.size()) {
        changed = TakeMethod(app, *shown[static_cast<size_t>(dialog.chosen)]);
    }
    if (dialog.ruleLine != shownRule && dialog.ruleLine >= 0 &&
        dialog.ruleLine <= static_cast<int>(HighLatitudeRule::None)) {
        SetHighLatitudeRule(app, static_cast<HighLatitudeRule>(dialog.ruleLine));
    }
    Recompute(app);
    if (changed) {
        ShowModifiedStatus(app, window);
    } else {
        RepaintAll(app, window);
    }
}

}  // namespace orvano
