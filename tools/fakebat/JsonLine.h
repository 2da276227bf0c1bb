#pragma once
// One log line of the stand-in client: a UTF-8 JSON object without line breaks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "MailCommandParser.h"

namespace korvex {

std::string JsonString(std::wstring_view text);

// {"raw":..., "ok":true, "program":..., "account":..., "to":..., "attachments":[...],
//  "subject":..., "flags":[...], "rest":..., "created":N}, with "lost":true for a command that a
// single-instance start could not hand to the running client.
std::string MailCommandJson(std::wstring_view raw, const std::optional<MailCommand>& cmd, std::uint64_t created,
                            bool lost = false);

}  // namespace korvex
