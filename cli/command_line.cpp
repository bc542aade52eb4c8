#include "cli/command_line.h"

#include <charconv>
#include <functional>

#include "astro/civil_date.h"
#include "astro/plain_number.h"
#include "astro/trace.h"
#include "language/messages.h"

namespace orvano::cli {

namespace {

using Refusal = std::function<std::string(const std::string& text)>;

// A check whose refusal reaches the user as the tool's own message: CLI11's
// ValidationError would put "--name: " before it. No description, so the help
// shows the option's value name alone.
CLI::Validator Refusing(CLI::Validator check, Refusal refusal) {
    return CLI::Validator(
        [check = std::move(check), refusal = std::move(refusal)](std::string& text) {
            std::string checked = text;
            if (!check(checked).empty()) throw UsageError(refusal(text));
            return std::string();
        },
        "");
}

// CLI11 converts numbers with strtoll(s, 0) and strtold, which also take a
// sign, spaces, a base prefix and an exponent; these come first.
const CLI::Validator kPlainInteger(
    [](std::string& text) { return IsPlainInteger(text) ? std::string() : "not plain"; }, "");
const CLI::Validator kPlainDecimal(
    [](std::string& text) { return IsPlainDecimal(text) ? std::string() : "not plain"; }, "");

std::string Named(const OptionSpec& spec) {
    return "option '--" + spec.name + "'";
}

// The date options' check: the parser's own refusal, or nothing.
CLI::Validator DateCheck(const OptionSpec& spec) {
    return CLI::Validator(
        [spec](std::string& text) {
            Observation scratch;
            if (spec.kind == ValueKind::Day) ParseDate(spec.name, text, scratch);
            if (spec.kind == ValueKind::Month) ParseMonth(spec.name, text, scratch);
            if (spec.kind == ValueKind::Instant) ParseDateTime(spec.name, text, scratch);
            return std::string();
        },
        "");
}

CLI::Validator Check(const OptionSpec& spec) {
    switch (spec.kind) {
        case ValueKind::Whole:
            return Refusing(kPlainInteger & CLI::Range(static_cast<double>(spec.min),
                                                       static_cast<double>(spec.max)),
                            [spec](const std::string& text) {
                                return Named(spec) + " needs a whole number from " +
                                       std::to_string(spec.min) + " to " +
                                       std::to_string(spec.max) + ", not '" + text + "'";
                            });
        case ValueKind::Decimal:
            return Refusing(kPlainDecimal,
                            [spec](const std::string& text) {
                                return Named(spec) + " needs a number, not '" + text + "'";
                            }) &
                   Refusing(CLI::Range(spec.low, spec.high), [spec](const std::string&) {
                       return Named(spec) + " must lie in " + Format("%g..%g", spec.low, spec.high);
                   });
        case ValueKind::Choice:
            return Refusing(CLI::IsMember(spec.choices), [spec](const std::string& text) {
                return Named(spec) + " " + spec.wanted + ", not '" + text + "'";
            });
        case ValueKind::Day:
        case ValueKind::Month:
        case ValueKind::Instant:
            return DateCheck(spec);
        case ValueKind::Flag:
        case ValueKind::Text:
            break;
    }
    return CLI::Validator();
}

// The text, already checked, as the kind keeps it.
void Store(const OptionSpec& spec, const std::string& text, Options& values) {
    switch (spec.kind) {
        case ValueKind::Whole: {
            long value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            values.*std::get<std::optional<long> Options::*>(spec.field) = value;
            return;
        }
        case ValueKind::Decimal: {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            values.*std::get<std::optional<double> Options::*>(spec.field) = value;
            return;
        }
        case ValueKind::Choice:
            if (const auto* rule =
                    std::get_if<std::optional<HighLatitudeRule> Options::*>(&spec.field)) {
                values.** rule = ParseHighLatitudeRule(text);
                return;
            }
            break;
        case ValueKind::Day:
        case ValueKind::Month: {
            Observation o;
            if (spec.kind == ValueKind::Day) {
                ParseDate(spec.name, text, o);
            } else {
                ParseMonth(spec.name, text, o);
            }
            values.*std::get<std::optional<CivilDate> Options::*>(spec.field) = DateOf(o);
            return;
        }
        case ValueKind::Instant: {
            Observation o;
            ParseDateTime(spec.name, text, o);
            values.*std::get<std::optional<Observation> Options::*>(spec.field) = o;
            return;
        }
        case ValueKind::Flag:
        case ValueKind::Text:
            break;
    }
    values.*std::get<std::optional<std::string> Options::*>(spec.field) = text;
}

bool Given(const CLI::App& sub, const std::string& name) {
    return sub.get_option("--" + name)->count() > 0;
}

}  // namespace

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const {
    if (option->get_type_size() == 0 || option->get_type_name().empty()) return {};
    return " " + get_label(option->get_type_name());
}

CLI::App* AddCommandLine(CLI::App& app, const Command& command, Options& values) {
    CLI::App* sub =
        app.add_subcommand(command.name, Tr(command.summary.c_str()))->group(Tr("Commands"));
    for (const OptionSpec& spec : command.options) {
        if (!spec.takesValue()) {
            sub->add_flag("--" + spec.name, values.*std::get<bool Options::*>(spec.field),
                          Tr(spec.help.c_str()));
            continue;
        }
        CLI::Option* option = sub->add_option_function<std::string>(
            "--" + spec.name,
            [&spec, &values](const std::string& text) { Store(spec, text, values); },
            Tr(spec.help.c_str()));
        option->type_name(spec.valueName)
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
        if (spec.kind != ValueKind::Text) option->check(Check(spec));
    }
    // Every option exists before one names another.
    for (const OptionSpec& spec : command.options) {
        CLI::Option* option = sub->get_option("--" + spec.name);
        for (const std::string& other : spec.needs) option->needs("--" + other);
        for (const std::string& other : spec.excludes) option->excludes("--" + other);
    }
    return sub;
}

std::string BrokenRuleMessage(const CLI::App& sub, const Command& command) {
    for (const OptionSpec& spec : command.options) {
        if (!Given(sub, spec.name)) continue;
        for (const std::string& other : spec.needs) {
            if (!Given(sub, other)) return Tr(spec.needsMessage.c_str());
        }
    }
    for (const OptionSpec& spec : command.options) {
        if (!Given(sub, spec.name)) continue;
        for (const std::string& other : spec.excludes) {
            if (Given(sub, other)) return Tr(spec.excludesMessage.c_str());
        }
    }
    return {};
}

}  // namespace orvano::cli
