// The general system configuration dialog's mapping.
#include "general_form.h"

#include <cstdio>

#include "form_store.h"

namespace zel {

GeneralForm load_general_form(const ConfigRecord& rec)
{
    GeneralForm form;
    form.info_line_1 = get_field(rec, Field::info_line_1);
    form.info_line_2 = get_field(rec, Field::info_line_2);
    form.info_line_3 = get_field(rec, Field::info_line_3);
    form.outside_line_digit = get_field(rec, Field::outside_line_digit);
    form.answer_ring = get_field(rec, Field::answer_ring);
    form.int_transfer_delay = get_field(rec, Field::int_transfer_delay);
    form.ext_transfer_delay = get_field(rec, Field::ext_transfer_delay);
    const int index = field_number(rec, Field::vox_type_index);
    if (index >= 0 && index < static_cast<int>(kVoxTypes.size())) form.vox_type = index;
    return form;
}

bool select_vox_type(ConfigRecord& rec, int index)
{
    if (index < 0 || index >= static_cast<int>(kVoxTypes.size())) return false;
    char text[8];
    std::snprintf(text, sizeof text, "%d", index);
    set_field(rec, Field::vox_type_index, text);
    set_field(rec, Field::vox_type_name, kVoxTypes[static_cast<std::size_t>(index)].stored_name);
    return true;
}

void save_general_form(const GeneralForm& form, ConfigRecord& rec)
{
    store_cut(rec, Field::info_line_1, form.info_line_1, kInfoLineLimit);
    store_cut(rec, Field::info_line_2, form.info_line_2, kInfoLineLimit);
    store_cut(rec, Field::info_line_3, form.info_line_3, kInfoLineLimit);
    store_cut(rec, Field::outside_line_digit, form.outside_line_digit, kGeneralDigitLimit);
    store_cut(rec, Field::answer_ring, form.answer_ring, kGeneralDigitLimit);
    store_cut(rec, Field::int_transfer_delay, form.int_transfer_delay, kGeneralDigitLimit);
    store_cut(rec, Field::ext_transfer_delay, form.ext_transfer_delay, kGeneralDigitLimit);
    // The password box is never ticked, so every Save clears the mark of an export.
    set_field(rec, Field::validated_flag, "0");
}

}  // namespace zel
