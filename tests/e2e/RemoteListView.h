#pragma once
// Reading a list view of another process: its item texts are copied into a buffer allocated in
// that process, since list-view messages carry no pointers across processes.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "UniqueResource.h"

namespace korvex::test {

// The texts of one column, row by row; empty when the list's process cannot be reached.
inline std::vector<std::wstring> RemoteColumn(HWND list, int subItem) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    const platform::UniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process) return {};
    constexpr int kChars = 1024;
    const SIZE_T size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
    struct RemoteFree {
        HANDLE process;
        void* memory;
        ~RemoteFree() {
            if (memory) VirtualFreeEx(process, memory, 0, MEM_RELEASE);
        }
    } remote{process.get(), VirtualAllocEx(process.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE)};
    if (!remote.memory) return {};
    auto* remoteItem = static_cast<LVITEMW*>(remote.memory);
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.memory) + sizeof(LVITEMW));
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iSubItem = subItem;
        item.pszText = remoteText;
        item.cchTextMax = kChars;
        WriteProcessMemory(process.get(), remoteItem, &item, sizeof item, nullptr);
        const auto n = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remoteItem));
        std::wstring text(static_cast<std::size_t>(n), L'\0');
        if (n > 0) ReadProcessMemory(process.get(), remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr);
        texts.push_back(std::move(text));
    }
    return texts;
}

// The send list's rows as full paths: the path column and the file name column.
inline std::vector<std::wstring> RemoteSendList(HWND list) {
    const std::vector<std::wstring> names = RemoteColumn(list, 0), folders = RemoteColumn(list, 1);
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < names.size() && i < folders.size(); ++i) paths.push_back(folders[i] + names[i]);
    return paths;
}

}  // namespace korvex::test
