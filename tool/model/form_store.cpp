// Bounded stores of control texts into record fields.
#include "form_store.h"

namespace zel {

std::string cut_text(std::string_view text, std::size_t max)
{
    return std::string(text.substr(0, max));
}

void store_cut(ConfigRecord& rec, Field f, int index, std::string_view text, std::size_t max)
{
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        if (!is_forbidden_byte(static_cast<unsigned char>(c))) clean.push_back(c);
    }
    // set_field cuts again at the slot's width; `max` is the dialog's tighter limit.
    set_field(rec, f, index, cut_text(clean, max));
}

}  // namespace zel
