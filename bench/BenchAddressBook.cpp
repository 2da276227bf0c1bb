// P9: the address list filled from a book of 200,000 lines, against the bare work of reading the
// file and decoding it into lines in memory; and what the list adds to the peak working set.

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "BenchSupport.h"
#include "FileSystem.h"
#include "MainForm.h"
#include "TestSupport.h"
#include "UniqueResource.h"

namespace korvex::bench {

namespace {

constexpr int kLines = 200000;

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Read the file, turn its UTF-8 into UTF-16 with the system's conversion, cut it into lines.
std::vector<std::wstring> BareReadAndDecode(const std::wstring& path) {
    const std::string bytes = platform::ReadFileBytes(path);
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.emplace_back(text, start, end - start - (end > start && text[end - 1] == L'\r' ? 1 : 0));
    return lines;
}

// The book, written a piece at a time so that making it does not raise the peak measured after.
void WriteBook(const std::wstring& path) {
    const platform::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("cannot write the address book");
    std::string piece;
    for (int i = 0; i < kLines; ++i) {
        piece += "\"Сотрудник " + std::to_string(i) + "\" <person-" + std::to_string(i) + "@example.ru>\r\n";
        if (piece.size() > 64 * 1024 || i + 1 == kLines) {
            DWORD written = 0;
            WriteFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr);
            piece.clear();
        }
    }
}

}  // namespace

void BenchAddressBook(const test::TestRegistryKey& reg) {
    test::TempDir exeDir;
    test::WriteBytes(exeDir / L"adress.txt", "");
    const TMainFormConfig config = BenchFormConfig(exeDir, reg);

    // Memory first, before any other run of either side has raised the peak: the window with an
    // empty book, then the big book loaded into its list.
    auto form = MakeBenchForm(config);
    WriteBook(exeDir / L"adress.txt");
    const double before = PeakWorkingSetMb();
    form->LoadAddressBook();
    const double after = PeakWorkingSetMb();
    std::size_t characters = 0;
    for (const auto& row : form->AddressEntries()) characters += row.size();
    const double textMb = static_cast<double>(characters * sizeof(wchar_t)) / (1024.0 * 1024.0);
    if (form->ListViewAdress.Count() != kLines) std::printf("P9 warning: %d rows\n", form->ListViewAdress.Count());
    std::printf(
        "P9 memory: peak working set %.1f MB before, %.1f MB after the book of %d lines: +%.1f MB, "
        "%.2fx the decoded text (%.1f MB)\n",
        before, after, kLines, after - before, (after - before) / textMb, textMb);
    std::fflush(stdout);

    Compare(
        "P9", "fill the address list from a book of 200,000 lines", "bare read + UTF-8 decoding into lines", 3,
        [&] { return Seconds([&] { form->LoadAddressBook(); }); },
        [&] {
            return Seconds([&] {
                if (BareReadAndDecode(exeDir / L"adress.txt").size() != kLines) std::printf("P9 warning: lines\n");
            });
        });
}

}  // namespace korvex::bench
