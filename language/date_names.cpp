#include "language/date_names.h"

#include <array>

#include "language/messages.h"

namespace orvano {

namespace {

constexpr std::array<const char*, 7> kWeekdays = {N_("Monday"),   N_("Tuesday"), N_("Wednesday"),
                                                  N_("Thursday"), N_("Friday"),  N_("Saturday"),
                                                  N_("Sunday")};
constexpr std::array<const char*, 12> kMonths = {
    NC_("month", "January"), NC_("month", "February"), NC_("month", "March"),
    NC_("month", "April"),   NC_("month", "May"),      NC_("month", "June"),
    NC_("month", "July"),    NC_("month", "August"),   NC_("month", "September"),
    NC_("month", "October"), NC_("month", "November"), NC_("month", "December")};

}  // namespace

const char* ShownWeekdayName(int index) {
    if (index < 0 || index >= 7) return "";
    return Tr(kWeekdays[static_cast<size_t>(index)]);
}

const char* ShownMonthName(int month) {
    if (month < 1 || month > 12) return "";
    return Tr("month", kMonths[static_cast<size_t>(month - 1)]);
}

}  // namespace orvano
