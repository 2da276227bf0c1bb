#include "SendCommand.h"

namespace korvex {

namespace {

bool Contains(std::wstring_view text, wchar_t c) {
    return text.find(c) != std::wstring_view::npos;
}

bool MailboxNeedsQuotes(std::wstring_view mailbox) {
    return mailbox.find_first_of(L" \t;\"") != std::wstring_view::npos || mailbox.starts_with(L'\'');
}

}  // namespace

bool IsQuotable(std::wstring_view value) {
    return !(Contains(value, L'"') && Contains(value, L'\''));
}

std::optional<SendField> FindUnquotableField(std::wstring_view mailbox, std::wstring_view address,
                                             std::wstring_view subjectTemplate) {
    if (!IsQuotable(mailbox)) return SendField::Mailbox;
    if (!IsQuotable(address)) return SendField::Address;
    if (!IsQuotable(subjectTemplate)) return SendField::Subject;
    return std::nullopt;
}

std::wstring QuoteValue(std::wstring_view value) {
    const wchar_t quote = Contains(value, L'"') ? L'\'' : L'"';
    std::wstring result;
    result.reserve(value.size() + 2);
    result += quote;
    result += value;
    result += quote;
    return result;
}

std::wstring QuoteMailbox(std::wstring_view mailbox) {
    return MailboxNeedsQuotes(mailbox) ? QuoteValue(mailbox) : std::wstring(mailbox);
}

std::wstring QuoteClientPath(std::wstring_view clientPath) {
    if (clientPath.starts_with(L'"') || clientPath.find_first_of(L" \t") == std::wstring_view::npos)
        return std::wstring(clientPath);
    return L'"' + std::wstring(clientPath) + L'"';
}

std::wstring BuildSendHead(std::wstring_view clientPath, std::wstring_view mailbox, std::wstring_view address) {
    std::wstring head = QuoteClientPath(clientPath);
    head += L" /MAILU=";
    head += QuoteMailbox(mailbox);
    head += L";TO=";
    head += QuoteValue(address);
    return head;
}

std::wstring BuildSendTail(std::wstring_view folder, std::wstring_view fileName, std::wstring_view subject, bool edit) {
    std::wstring attachment(folder);
    attachment += fileName;
    std::wstring tail = L";A=";
    tail += QuoteValue(attachment);
    tail += L";S=";
    tail += QuoteValue(subject);
    if (edit) tail += L";edit";
    return tail;
}

std::wstring BuildSendCommand(const SendCommandParts& parts) {
    return BuildSendHead(parts.clientPath, parts.mailbox, parts.address) +
           BuildSendTail(parts.folder, parts.fileName, parts.subject, parts.edit);
}

}  // namespace korvex
