// Parsing and printing "name" / "name[i]".
#include "field_ref.h"

#include "config_record.h"
#include "escape.h"

namespace zelcfg {

bool is_indexed(zel::Field f)
{
    // Every line group with more than one line is indexed; no group has exactly one index.
    return zel::field_count(f) > 1;
}

std::string format_field_ref(const FieldRef& ref)
{
    std::string name = zel::field_def(ref.field).name;
    if (is_indexed(ref.field)) name += "[" + std::to_string(ref.index) + "]";
    return name;
}

bool parse_field_ref(std::string_view text, FieldRef& out, std::string& problem)
{
    const std::size_t bracket = text.find('[');
    const std::string_view name = text.substr(0, bracket);
    const std::optional<zel::Field> field = zel::field_by_name(name);
    if (!field) {
        problem = "unknown field '" + escape_bytes(name) + "'";
        return false;
    }
    const std::string quoted = "'" + escape_bytes(text) + "'";
    const int count = zel::field_count(*field);
    const std::string range = "0-" + std::to_string(count - 1);

    if (bracket == std::string_view::npos) {
        if (is_indexed(*field)) {
            problem = quoted + " needs an index " + range + ", as " + std::string(name) + "[i]";
            return false;
        }
        out = FieldRef{*field, 0};
        return true;
    }
    if (!is_indexed(*field)) {
        problem = "'" + std::string(name) + "' is a single field and takes no index";
        return false;
    }
    const std::string_view digits = text.substr(bracket + 1);
    std::size_t n = 0;
    long value = 0;
    // Five digits are more than any group needs and keep `value` far from overflow.
    while (n < digits.size() && n < 6 && digits[n] >= '0' && digits[n] <= '9') {
        value = value * 10 + (digits[n] - '0');
        ++n;
    }
    if (n == 0 || n > 5 || digits.substr(n) != "]") {
        problem = "bad index in " + quoted + " (expected " + std::string(name) + "[i] with i in " + range + ")";
        return false;
    }
    if (value >= count) {
        problem = "index " + std::to_string(value) + " of '" + std::string(name) + "' is out of range " + range;
        return false;
    }
    out = FieldRef{*field, static_cast<int>(value)};
    return true;
}

}  // namespace zelcfg
