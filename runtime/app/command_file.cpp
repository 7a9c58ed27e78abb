// Loading the command file and choosing the play rate from it.
#include "command_file.h"

#include "record_file.h"
#include "record_layout.h"
#include "voicelib.h"

namespace vorn {

LoadOutcome load_command_file(const char* path, zel::ConfigRecord& record, std::FILE** kept)
{
    if (kept) *kept = nullptr;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return LoadOutcome::unreadable;

    // Read into a scratch image: a short file must not leave a stale or NUL tail
    // behind in the record the channels will read.
    zel::ConfigRecord fresh;
    if (zel::read_record(f, fresh) != zel::ReadStatus::ok) {
        std::fclose(f);
        return LoadOutcome::unreadable;
    }
    if (fresh.bytes[zel::field_offset(zel::Field::validated_flag)] != '1') {
        // Nobody will use this handle again; keeping it would also lock the file
        // against the operator replacing it before the next Open.
        std::fclose(f);
        return LoadOutcome::not_validated;
    }
    record = fresh;
    if (kept) {
        *kept = f;
    } else {
        std::fclose(f);
    }
    return LoadOutcome::loaded;
}

std::uint32_t rate_code_for_index(int vox_type_index)
{
    switch (vox_type_index) {
    case 0:
    case 1:
        return VL_RATE_6K;
    case 2:
        return VL_RATE_8K;
    case 3:
    case 4:
    case 5:
    case 6:
        return VL_RATE_11K;
    default:
        return 0;
    }
}

std::uint32_t rate_code_for(const zel::ConfigRecord& record)
{
    return rate_code_for_index(zel::field_number(record, zel::Field::vox_type_index));
}

}  // namespace vorn
