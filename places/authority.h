// Each country's authority for prayer times: its method in the catalogue, and
// the data.cfg convention that stands for it.
#pragma once

#include <string_view>

namespace orvano {

struct CountryAuthority {
    const char* code;       // ISO 3166 country code
    const char* method;     // the catalogue's method id
    int convention;         // data.cfg convention slot, 0..8
    const char* authority;  // who publishes the country's times, or "no single authority: ..."
    const char* source;     // where the method is published
};

// The country's entry of the table; nullptr for a country without one, whose
// towns take the Muslim World League's method ("mwl", slot 0).
const CountryAuthority* AuthorityOf(std::string_view countryCode);

// The convention slot a new town of the country starts with.
int DefaultConvention(std::string_view countryCode);
// The catalogue method a new town of the country starts with.
const char* DefaultMethod(std::string_view countryCode);

}  // namespace orvano
