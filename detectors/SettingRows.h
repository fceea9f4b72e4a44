#pragma once
// A detector's table of parameters as the host shows them: per index a name,
// a label and the normalised default; an index out of range reads empty.

#include <cmath>

namespace wowfix {

struct SettingRow {
    const char* name;
    const char* label;
    float defaultValue;
};

template <int Count>
struct SettingRows {
    SettingRow rows[Count];

    static constexpr bool known(int index) { return index >= 0 && index < Count; }
    float defaultValue(int index) const { return known(index) ? rows[index].defaultValue : 0.0f; }
    const char* name(int index) const { return known(index) ? rows[index].name : ""; }
    const char* label(int index) const { return known(index) ? rows[index].label : ""; }
};

// round(x) of the settings' formulas: halves away from zero.
inline double roundHalfAway(double x) { return std::trunc(x + (x < 0.0 ? -0.5 : 0.5)); }

}  // namespace wowfix
