#include <gtest/gtest.h>

#include "NotAdded.h"

using namespace korvex;

TEST(NotAdded, NamesEveryKindInOneTextAndCountsWhatItDoesNotName) {
    struct Case {
        const char* why;
        NotAdded notAdded;
        std::size_t shown;
        std::wstring text;
    };
    const Case cases[] = {
        {"nothing left out", {}, 20, L""},
        {"one missing", {{L"C:\\a.dwg"}, {}}, 20, L"Не найден:\r\nC:\\a.dwg"},
        {"two missing", {{L"C:\\a.dwg", L"C:\\b.dwg"}, {}}, 20, L"Не найдены:\r\nC:\\a.dwg\r\nC:\\b.dwg"},
        {"one device", {{}, {L"C:\\kxt\\CON"}}, 20, L"Не добавлен (это имя устройства, а не файл):\r\nC:\\kxt\\CON"},
        {"both kinds",
         {{L"C:\\a.dwg"}, {L"C:\\NUL", L"\\\\.\\PhysicalDrive0"}},
         20,
         L"Не найден:\r\nC:\\a.dwg\r\n\r\nНе добавлены (это имена устройств, а не "
         L"файлы):\r\nC:\\NUL\r\n\\\\.\\PhysicalDrive0"},
        {"each list cut on its own",
         {{L"1", L"2", L"3"}, {L"CON", L"AUX", L"PRN", L"NUL"}},
         2,
         L"Не найдены:\r\n1\r\n2\r\n… и ещё 1\r\n\r\nНе добавлены (это имена устройств, а не "
         L"файлы):\r\nCON\r\nAUX\r\n… и "
         L"ещё 2"},
        {"exactly as many as shown", {{L"1", L"2"}, {}}, 2, L"Не найдены:\r\n1\r\n2"},
    };
    for (const auto& c : cases) EXPECT_EQ(NotAddedText(c.notAdded, c.shown), c.text) << c.why;
}
