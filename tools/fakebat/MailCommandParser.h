#pragma once
// Reads a mail-client command line the way the client documents it:
//   program /MAIL<param>;<param>;...
// where each param is KEY=value or a bare flag. A value may be enclosed in double quotes, or in
// single quotes; an unquoted blank ends the argument.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

struct MailCommand {
    std::wstring program;                   // the program's name as a program splits it, without quotes
    std::wstring stray;                     // words between the name and "/MAIL" (an unquoted path's rest)
    std::wstring account;                   // U=
    std::wstring to;                        // TO=
    std::vector<std::wstring> attachments;  // every A=
    std::wstring subject;                   // S=
    std::vector<std::wstring> flags;        // bare words such as "edit"
    std::wstring rest;                      // what follows the argument, after the blank that ended it
};

// nullopt when there is no "/MAIL" switch or a quote is never closed.
std::optional<MailCommand> ParseMailCommand(std::wstring_view commandLine);

}  // namespace korvex
