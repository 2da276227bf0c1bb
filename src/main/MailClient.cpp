#include "MailClient.h"

#include "Registry.h"

namespace korvex {

using platform::RegistryKey;

MailClientInfo ReadMailClient(HKEY root, std::wstring_view clientKey) {
    MailClientInfo info;
    {
        const auto key = RegistryKey::OpenForRead(root, clientKey);
        if (!key) return info;
        const auto exe = key->ReadText(L"EXE path");
        if (exe.status == RegistryKey::Status::WrongType) {
            info.found = true;
            info.badValue = L"EXE path";
            return info;
        }
        info.exePath = exe.value;
        info.found = !info.exePath.empty();
        if (!info.found) return info;
    }
    const auto depot = RegistryKey::OpenForRead(root, std::wstring(clientKey) + L"\\Users depot");
    if (!depot) return info;
    for (const auto& name : depot->ValueNames()) {
        if (name.find(L"User #") == std::wstring::npos) continue;
        const auto value = depot->ReadText(name);
        if (value.status == RegistryKey::Status::WrongType) {
            info.badValue = name;
            return info;
        }
        info.mailboxes.push_back(value.value);
    }
    return info;
}

}  // namespace korvex
