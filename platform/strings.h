// The program's string table, by resource identifier.
#pragma once

#include <optional>
#include <string>

namespace orvano {

class StringTable {
  public:
    virtual ~StringTable() = default;
    // The UTF-8 string, or nothing when the table has no such identifier.
    virtual std::optional<std::string> Load(int id) const = 0;
};

}  // namespace orvano
