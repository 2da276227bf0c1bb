#pragma once
// What a press of "Отправить" offers when files of the list already went to the same mailbox and
// address: nothing to ask (a first send), the whole list again, the rest of the last send with the
// numbers it gave, or only the files that never went there, numbered among themselves.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "SendList.h"

namespace korvex {

enum class SendChoiceKind {
    First,        // nothing went there yet: a new set of the whole list
    AlreadySent,  // every entry went there: ask before sending them all again
    Rest,         // the last set there is not finished: offer its rest with its numbers
    New,          // the last set there is finished, some entries never went there: offer those
};

struct SendChoice {
    SendChoiceKind kind = SendChoiceKind::First;
    std::uint32_t set = 0;          // Rest: the set to finish
    std::size_t started = 0;        // Rest, New: members of the last set that were started
    std::size_t count = 0;          // Rest, New: the last set's %n
    std::vector<std::size_t> rest;  // Rest: its members not started; New: the entries that never went there
    std::size_t outside = 0;        // Rest: entries that never went there and are not in the set
    std::wstring lastStartedAt;     // the clock time of the last start there, in list order
};

SendChoice ChooseSend(const SendList& list, std::wstring_view mailbox, std::wstring_view address);

}  // namespace korvex
