#include "SendDispatch.h"

#include "SendCommand.h"
#include "SubjectTemplate.h"

namespace korvex {

std::wstring ClientApplication(std::wstring_view clientPath) {
    if (clientPath.size() >= 2 && clientPath.front() == L'"' && clientPath.back() == L'"')
        clientPath = clientPath.substr(1, clientPath.size() - 2);
    return std::wstring(clientPath);
}

DispatchOutcome DispatchSend(const SendRequest& request, const std::vector<SendListEntry>& entries,
                             const ProcessStarter& start) {
    const std::wstring application = ClientApplication(request.clientPath);
    const std::wstring head = BuildSendHead(request.clientPath, request.mailbox, request.address);
    const std::size_t count = entries.size();
    DispatchOutcome outcome;
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring subject = ExpandSubject(request.subjectTemplate, count, i + 1);
        const std::wstring command =
            head + BuildSendTail(entries[i].folder, entries[i].fileName, subject, request.edit);
        ++outcome.attempted;
        if (const auto error = start(application, command); error != 0) {
            if (outcome.failed++ == 0) outcome.firstError = error;
        }
    }
    return outcome;
}

}  // namespace korvex
