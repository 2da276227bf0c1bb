#include "SendDispatch.h"

#include "SendCommand.h"
#include "SubjectTemplate.h"

namespace korvex {

namespace {

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::wstring ClientApplication(std::wstring_view clientPath) {
    if (clientPath.size() >= 2 && clientPath.front() == L'"' && clientPath.back() == L'"')
        clientPath = clientPath.substr(1, clientPath.size() - 2);
    return std::wstring(clientPath);
}

std::optional<ClientPathProblem> CheckClientPath(std::wstring_view application,
                                                 const std::function<PathKind(std::wstring_view)>& kindOf) {
    if (application.empty()) return ClientPathProblem::Empty;
    if (application.size() > kMaxClientPathLength) return ClientPathProblem::TooLong;
    // A NUL would end the name early: the system would look for another file than this one.
    if (application.find(L'\0') != std::wstring_view::npos) return ClientPathProblem::Missing;
    switch (kindOf(application)) {
        case PathKind::File: return std::nullopt;
        case PathKind::Folder: return ClientPathProblem::Folder;
        default: return ClientPathProblem::Missing;
    }
}

SendPlan PlanSend(const SendRequest& request, const std::vector<SendListEntry>& entries, std::size_t limit) {
    SendPlan plan;
    plan.application = ClientApplication(request.clientPath);
    const std::wstring head = BuildSendHead(request.clientPath, request.mailbox, request.address);
    const std::size_t count = entries.size();
    plan.commands.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring subject = ExpandSubject(request.subjectTemplate, count, i + 1);
        plan.commands.push_back(head + BuildSendTail(entries[i].folder, entries[i].fileName, subject, request.edit));
        if (!plan.firstOverlong && plan.commands.back().size() > limit) plan.firstOverlong = i;
    }
    return plan;
}

DispatchOutcome StartSend(const SendPlan& plan, const ProcessStarter& start, const SendProgress& progress) {
    DispatchOutcome outcome;
    outcome.total = plan.commands.size();
    if (plan.firstOverlong) return outcome;
    for (const auto& command : plan.commands) {
        ++outcome.attempted;
        if (const auto error = start(plan.application, command); error != 0) {
            if (outcome.failed++ == 0) outcome.firstError = error;
        }
        if (progress && !progress(outcome.attempted, outcome.total)) {
            outcome.stopped = outcome.attempted < outcome.total;
            break;
        }
    }
    return outcome;
}

std::wstring ShortenMiddle(std::wstring_view text, std::size_t maxLength) {
    if (text.size() <= maxLength) return std::wstring(text);
    if (maxLength == 0) return {};
    const std::size_t keep = maxLength - 1;  // room for the ellipsis
    std::size_t front = (keep + 1) / 2;
    std::size_t back = keep - front;
    if (front > 0 && front < text.size() && IsLowSurrogate(text[front])) --front;  // keep the pair whole
    if (back > 0 && IsLowSurrogate(text[text.size() - back])) --back;
    std::wstring result(text.substr(0, front));
    result += L'\u2026';
    result += text.substr(text.size() - back);
    return result;
}

}  // namespace korvex
