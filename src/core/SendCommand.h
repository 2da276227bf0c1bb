#pragma once
// The command line that starts the mail client for one file:
//   {client} /MAILU={mailbox};TO="{address}";A="{folder}{file}";S="{subject}"[;edit]
// The client path comes first as the program's own name: in double quotes when it holds a blank,
// since a program splits its command line at blanks and would otherwise see "C:\Program" as its name.
// The client splits its arguments at blanks and its parameters at ";". A value is therefore enclosed
// in double quotes, or in single quotes when it holds a double quote; a value holding both kinds of
// quote cannot be passed at all. The mailbox stays bare unless it needs quoting, so ordinary inputs
// give exactly the classic command string.

#include <optional>
#include <string>
#include <string_view>

namespace korvex {

enum class SendField { Mailbox, Address, Subject, Attachment };

// True when the value can be enclosed in quotes the client understands (not both ' and ").
bool IsQuotable(std::wstring_view value);

// The first of mailbox, address and subject template that cannot be passed to the client.
std::optional<SendField> FindUnquotableField(std::wstring_view mailbox, std::wstring_view address,
                                             std::wstring_view subjectTemplate);

// "{value}" or '{value}' when the value holds a double quote.
std::wstring QuoteValue(std::wstring_view value);

// The mailbox as it goes after "/MAILU=": bare, or quoted when it holds a blank, ";" or a quote.
std::wstring QuoteMailbox(std::wstring_view mailbox);

// The client path as the command line's first word: quoted when it holds a blank or a tab and is
// not quoted already, else as it is.
std::wstring QuoteClientPath(std::wstring_view clientPath);

// The part shared by every file of one send: client path, mailbox and recipient.
std::wstring BuildSendHead(std::wstring_view clientPath, std::wstring_view mailbox, std::wstring_view address);

// The per-file part: attachment, subject and the edit flag.
std::wstring BuildSendTail(std::wstring_view folder, std::wstring_view fileName, std::wstring_view subject, bool edit);

struct SendCommandParts {
    std::wstring_view clientPath;
    std::wstring_view mailbox;
    std::wstring_view address;
    std::wstring_view folder;  // ends in "\"
    std::wstring_view fileName;
    std::wstring_view subject;  // already expanded
    bool edit = false;
};

std::wstring BuildSendCommand(const SendCommandParts& parts);

}  // namespace korvex
