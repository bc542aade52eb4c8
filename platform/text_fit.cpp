#include "platform/text_fit.h"

namespace orvano {

std::string ElideToFit(const std::string& text,
                       const std::function<bool(const std::string&)>& fits) {
    if (fits(text)) return text;
    // Drop whole characters (UTF-8 sequences) from the end until the rest and
    // the ellipsis fit; nothing but the ellipsis when even one character is too wide.
    std::string kept = text;
    while (!kept.empty()) {
        size_t cut = kept.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;
        kept.erase(cut);
        while (!kept.empty() && kept.back() == ' ') kept.pop_back();
        if (fits(kept + "…")) break;
    }
    return kept + "…";
}

}  // namespace orvano
