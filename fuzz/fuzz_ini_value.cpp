#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "IniValue.h"
#include "WindowBounds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = SplitFields(data, size, 2);
    const std::wstring& text = fields[0];
    const auto value = korvex::ParseIniInteger(text);
    // A decimal number reads back from the text the settings file writes for it.
    if (value && korvex::ParseIniInteger(std::to_wstring(*value)) != value) std::abort();
    // The flag keeps the current state exactly when the text is no number.
    if (korvex::IniFlagOr(text, true) != (value ? *value != 0 : true)) std::abort();
    if (korvex::IniFlagOr(text, false) != (value ? *value != 0 : false)) std::abort();
    // Every text that is a number is either decimal or starts with a sign or a hex prefix.
    if (value && !text.empty()) {
        const wchar_t first = text[0];
        if (!(first == L'+' || first == L'-' || first == L'$' || (first >= L'0' && first <= L'9'))) std::abort();
    }
    // A settings path always ends in ".ini" and keeps everything before the name's extension.
    const std::wstring ini = korvex::SettingsPathFor(fields[1]);
    if (ini.size() < 4 || ini.compare(ini.size() - 4, 4, L".ini") != 0) std::abort();
    if (ini.compare(0, ini.size() - 4, fields[1], 0, ini.size() - 4) != 0) std::abort();
    // Bounds from any four numbers land inside any area that is not empty.
    if (text.size() >= 4) {
        const korvex::Bounds area{0, 0, 1 + text[0] % 4000, 1 + text[1] % 3000};
        const auto b = korvex::MoveInto(korvex::BoundsFromOrigin((value.value_or(text[2]) % 100000) * 977,
                                                                 -text[3] * 131, text[1] * 13, text[2] * 7),
                                        area);
        if (b.left < area.left || b.top < area.top || b.right > area.right || b.bottom > area.bottom) std::abort();
    }
    return 0;
}
