#pragma once
// One press of "Отправить": a client start per send-list entry, in list order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "SendList.h"

namespace korvex {

struct SendRequest {
    std::wstring clientPath;  // as the registry holds it
    std::wstring mailbox;
    std::wstring address;
    std::wstring subjectTemplate;
    bool edit = false;
};

// Starts application with commandLine; returns 0 or the system's error code.
using ProcessStarter = std::function<std::uint32_t(std::wstring_view application, std::wstring_view commandLine)>;

struct DispatchOutcome {
    std::size_t attempted = 0;
    std::size_t failed = 0;
    std::uint32_t firstError = 0;  // the reason of the first failed start
};

// The program to start: the client path without the quotes that may enclose it.
std::wstring ClientApplication(std::wstring_view clientPath);

// Starts the client once per entry, whatever became of the starts before it.
DispatchOutcome DispatchSend(const SendRequest& request, const std::vector<SendListEntry>& entries,
                             const ProcessStarter& start);

}  // namespace korvex
