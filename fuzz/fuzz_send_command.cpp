// Whatever the user types, the client either reads back exactly those values or the send is
// refused before it starts.

#include <cstdint>
#include <cstdlib>
#include <cwctype>

#include "FuzzInput.h"
#include "MailCommandParser.h"
#include "SendCommand.h"

namespace {
bool ContainsSwitch(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text.find(L"/MAIL") != std::wstring::npos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto f = SplitFields(data, size, 6);
    const std::wstring& client = f[0];
    // A client path is a Windows path: it holds no switch and does not end in a blank.
    if (client.empty() || ContainsSwitch(client) || client.back() == L' ' || client.back() == L'\t') return 0;
    if (client.find_first_of(L"\"") != std::wstring::npos) return 0;
    // File names hold no double quote on Windows.
    if (f[3].find(L'"') != std::wstring::npos || f[4].find(L'"') != std::wstring::npos) return 0;
    if (korvex::FindUnquotableField(f[1], f[2], f[5]) || !korvex::IsQuotable(f[3] + f[4])) return 0;

    const korvex::SendCommandParts parts{client, f[1], f[2], f[3], f[4], f[5], (size & 1) != 0};
    const auto cmd = korvex::ParseMailCommand(korvex::BuildSendCommand(parts));
    if (!cmd) std::abort();
    if (cmd->program != client || cmd->account != f[1] || cmd->to != f[2] || cmd->subject != f[5]) std::abort();
    if (cmd->attachments.size() != 1 || cmd->attachments[0] != f[3] + f[4]) std::abort();
    if (!cmd->rest.empty()) std::abort();
    if (parts.edit != (cmd->flags == std::vector<std::wstring>{L"edit"})) std::abort();
    return 0;
}
