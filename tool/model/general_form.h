// The general system configuration dialog's state: what its controls show for a record,
// the voice file type list, and what Save stores.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config_record.h"

namespace zel {

// One entry of the voice file type list: its text, and the name stored for it.
struct VoxTypeEntry {
    const char* entry;
    const char* stored_name;
};

inline constexpr std::array<VoxTypeEntry, 7> kVoxTypes{{
    {"DRT_4*KHZ", "DRT_6KHZ"},
    {"DRT_6KHZ", "DRT_6KHZ"},
    {"DRT_8KHZ", "DRT_8KHZ"},
    {"DRT_11KHZ", "DRT_11KHZ"},
    {"DRT_12*KHZ", "DRT_11KHZ"},
    {"DRT_16*KHZ", "DRT_11KHZ"},
    {"DRT_20*KHZ", "DRT_11KHZ"},
}};

// Longest texts Save stores.
inline constexpr std::size_t kInfoLineLimit = 68;
inline constexpr std::size_t kGeneralDigitLimit = 1;  // ring, outside digit, both delays

struct GeneralForm {
    std::string info_line_1;         // edit 1000
    std::string info_line_2;         // edit 1001
    std::string info_line_3;         // edit 1002
    std::string outside_line_digit;  // edit 1004 (disabled, shown and saved back)
    std::string answer_ring;         // edit 1005
    std::string int_transfer_delay;  // edit 1007
    std::string ext_transfer_delay;  // edit 1008
    std::optional<int> vox_type;     // combo 1012: the selected entry, or none
};

// The controls for a record. A form built with `GeneralForm{}` is the dialog without a
// working file: empty edits, no selection.
GeneralForm load_general_form(const ConfigRecord& rec);

// A selection change of the type list: stores the entry's index and its name at once.
// An index outside the list changes nothing and gives false.
bool select_vox_type(ConfigRecord& rec, int index);

// Save: the seven texts, each cut to its limit, and "0" in validated_flag. The type
// fields are left alone (only a selection change writes them).
void save_general_form(const GeneralForm& form, ConfigRecord& rec);

}  // namespace zel
