// The kinds of option a command declares.
#include "cli/options.h"

#include "language/messages.h"

namespace orvano::cli {

namespace {

OptionSpec Spec(std::string name, std::string valueName, std::string help, ValueKind kind,
                OptionField field) {
    OptionSpec spec;
    spec.name = std::move(name);
    spec.valueName = std::move(valueName);
    spec.help = std::move(help);
    spec.kind = kind;
    spec.field = field;
    return spec;
}

}  // namespace

OptionSpec OptionSpec::Needs(std::vector<std::string> names, std::string message) && {
    needs = std::move(names);
    needsMessage = std::move(message);
    return std::move(*this);
}

OptionSpec OptionSpec::Excludes(std::vector<std::string> names, std::string message) && {
    excludes = std::move(names);
    excludesMessage = std::move(message);
    return std::move(*this);
}

OptionSpec FlagOption(std::string name, std::string help, bool Options::*field) {
    return Spec(std::move(name), "", std::move(help), ValueKind::Flag, field);
}

OptionSpec TextOption(std::string name, std::string valueName, std::string help,
                      std::optional<std::string> Options::*field) {
    return Spec(std::move(name), std::move(valueName), std::move(help), ValueKind::Text, field);
}

namespace {

OptionSpec Choice(std::string name, std::string valueName, std::string help, OptionField field,
                  std::vector<std::string> choices, std::string wanted) {
    OptionSpec spec =
        Spec(std::move(name), std::move(valueName), std::move(help), ValueKind::Choice, field);
    spec.choices = std::move(choices);
    spec.wanted = std::move(wanted);
    return spec;
}

}  // namespace

OptionSpec ChoiceOption(std::string name, std::string valueName, std::string help,
                        std::optional<std::string> Options::*field,
                        std::vector<std::string> choices, std::string wanted) {
    return Choice(std::move(name), std::move(valueName), std::move(help), field, std::move(choices),
                  std::move(wanted));
}

OptionSpec ChoiceOption(std::string name, std::string valueName, std::string help,
                        std::optional<HighLatitudeRule> Options::*field,
                        std::vector<std::string> choices, std::string wanted) {
    return Choice(std::move(name), std::move(valueName), std::move(help), field, std::move(choices),
                  std::move(wanted));
}

OptionSpec WholeOption(std::string name, std::string valueName, std::string help,
                       std::optional<long> Options::*field, long min, long max) {
    OptionSpec spec =
        Spec(std::move(name), std::move(valueName), std::move(help), ValueKind::Whole, field);
    spec.min = min;
    spec.max = max;
    return spec;
}

OptionSpec DecimalOption(std::string name, std::string valueName, std::string help,
                         std::optional<double> Options::*field, double low, double high) {
    OptionSpec spec =
        Spec(std::move(name), std::move(valueName), std::move(help), ValueKind::Decimal, field);
    spec.low = low;
    spec.high = high;
    return spec;
}

OptionSpec DayOption(std::string name, std::string help, std::optional<CivilDate> Options::*field) {
    return Spec(std::move(name), "YYYY-MM-DD", std::move(help), ValueKind::Day, field);
}

OptionSpec MonthOption(std::string help, std::optional<CivilDate> Options::*field) {
    return Spec("month", "YYYY-MM", std::move(help), ValueKind::Month, field);
}

OptionSpec InstantOption(std::string help, std::optional<Observation> Options::*field) {
    return Spec("at", "\"YYYY-MM-DD HH:MM:SS\"", std::move(help), ValueKind::Instant, field);
}

OptionSpec JsonOption(std::string help) {
    return FlagOption("json", std::move(help), &Options::json);
}

namespace {

std::string& PageLanguageSlot() {
    static std::string code = kDefaultLanguage;
    return code;
}

}  // namespace

void SetLanguages(const LanguageChoice& choice) {
    PageLanguageSlot() = choice.code;
    UseLanguage(choice.source == LanguageSource::Default ? "en" : choice.code);
}

const std::string& PageLanguage() {
    return PageLanguageSlot();
}

}  // namespace orvano::cli
