// Choosing a town of data.cfg by what a person types: its index or its name.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "config/records.h"

namespace orvano::cli {

// The text a name is compared by: letters without their accents, folded to
// lower case, underscores as spaces.
std::string NameKey(const std::string& name);

// "Country/Name" as the towns are written in the file; what the candidates
// of an ambiguous name are listed as, and what completion offers.
std::string QualifiedName(const Town& town);

// A name that fits no town of the file (the message lists near names).
struct NoSuchTown : UsageError {
    using UsageError::UsageError;
};

// The index of the town `text` names: a whole number is an index; otherwise
// a name, exact match first, then a unique prefix; "Country/Name" picks among
// towns of the same name. Throws UsageError naming --town and listing the
// candidates when the text names several towns, NoSuchTown when it
// names none.
int FindTown(const std::vector<Town>& towns, const std::string& text);

}  // namespace orvano::cli
