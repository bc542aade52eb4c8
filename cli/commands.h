// The table of orvano-cli's commands. To add one: write cmd_<name>.cpp with a
// function returning its Command, declare the function here and add it to the
// table in commands.cpp. The help texts come from the table.
#pragma once

#include <vector>

#include "cli/options.h"

namespace orvano::cli {

Command TownsCommand();
Command TimesCommand();
Command MonthCommand();
Command NextCommand();
Command ExportCommand();
Command TraceCommand();
Command SunCommand();
Command QiblaCommand();
Command CalendarCommand();
Command ReadCommand();
Command ResaveCommand();
Command BenchCommand();
Command FitCommand();
Command MethodsCommand();
Command AddCommand();

// Every command in the order the help lists them.
const std::vector<Command>& Commands();

}  // namespace orvano::cli
