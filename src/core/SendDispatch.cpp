#include "SendDispatch.h"

#include <algorithm>

#include "DevicePath.h"
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

SendPlan PlanSend(const SendRequest& request, const std::vector<SendListEntry>& entries, std::size_t limit,
                  const std::vector<SendList::PartNumber>& numbers) {
    SendPlan plan;
    plan.application = ClientApplication(request.clientPath);
    const std::wstring head = BuildSendHead(request.clientPath, request.mailbox, request.address);
    const std::size_t count = entries.size();
    plan.commands.reserve(count);
    plan.subjects.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const SendList::PartNumber number = numbers.empty()      ? SendList::PartNumber{i + 1, count}
                                            : i < numbers.size() ? numbers[i]
                                                                 : SendList::PartNumber{};
        if (number.number == 0) {
            plan.subjects.emplace_back();
            plan.commands.emplace_back();
            continue;
        }
        const std::wstring& subject =
            plan.subjects.emplace_back(ExpandSubject(request.subjectTemplate, number.count, number.number));
        plan.commands.push_back(head + BuildSendTail(entries[i].folder, entries[i].fileName, subject, request.edit));
        if (!plan.firstOverlong && plan.commands.back().size() > limit) plan.firstOverlong = i;
    }
    return plan;
}

std::vector<std::size_t> FindMissingFiles(const std::vector<SendListEntry>& entries,
                                          const std::function<bool(std::wstring_view path)>& exists) {
    std::vector<std::size_t> missing;
    for (std::size_t i = 0; i < entries.size(); ++i)
        // A device may answer as a file does: it is never handed to the client as one.
        if (const std::wstring path = entries[i].FullPath(); IsDevicePath(path) || !exists(path)) missing.push_back(i);
    return missing;
}

std::wstring MissingFilesText(const std::vector<SendListEntry>& entries, const std::vector<std::size_t>& missing,
                              std::size_t shownLength, std::size_t total) {
    if (total == 0) total = entries.size();
    std::wstring text =
        L"Не найдены файлы (" + std::to_wstring(missing.size()) + L" из " + std::to_wstring(total) + L"):";
    const std::size_t named = std::min(missing.size(), kMaxNamedMissingFiles);
    for (std::size_t k = 0; k < named; ++k)
        text += L"\r\n" + ShortenMiddle(entries[missing[k]].FullPath(), shownLength);
    if (missing.size() > named) text += L"\r\n… и ещё " + std::to_wstring(missing.size() - named);
    const std::size_t rest = total - std::min(missing.size(), total);
    if (rest == 0) return text + L"\r\n\r\nНичего не отправлено.";
    return text + L"\r\n\r\n«Отправить остальные» отправит " + std::to_wstring(rest) +
           L" найденных с их номерами в списке; ненайденные почтовому клиенту не передаются.";
}

void SkipEntries(SendPlan& plan, const std::vector<std::size_t>& positions) {
    plan.skipped.resize(plan.commands.size(), false);
    for (const std::size_t i : positions)
        if (i < plan.skipped.size()) plan.skipped[i] = true;
}

DispatchOutcome StartSend(const SendPlan& plan, const std::vector<std::size_t>& positions, const ProcessStarter& start,
                          const SendHooks& hooks) {
    DispatchOutcome outcome;
    outcome.total = positions.size();
    if (plan.firstOverlong) return outcome;
    bool asked = false;
    for (const std::size_t position : positions) {
        if (position >= plan.commands.size()) continue;
        ++outcome.attempted;
        StartOutcome result;
        if (hooks.present && !hooks.present(position)) {
            result.gone = true;
            outcome.gone.push_back(position);
        } else {
            result = start(plan.application, plan.commands[position]);
            if (result.error != 0) {
                if (outcome.failed++ == 0) outcome.firstError = result.error;
            } else if (!result.confirmed) {
                ++outcome.unconfirmed;
            }
        }
        const bool more = outcome.attempted < outcome.total;
        if (hooks.started && !hooks.started(position, result)) {
            outcome.stopped = more;
            break;
        }
        if (!result.gone && result.error == 0 && !result.confirmed && !asked && more) {
            asked = true;
            if (hooks.goOnUnconfirmed && !hooks.goOnUnconfirmed()) {
                outcome.stopped = true;
                break;
            }
        }
        if (hooks.progress && !hooks.progress(outcome.attempted, outcome.total)) {
            outcome.stopped = more;
            break;
        }
    }
    return outcome;
}

DispatchOutcome StartSend(const SendPlan& plan, const ProcessStarter& start, const SendProgress& progress) {
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < plan.commands.size(); ++i)
        if (!(i < plan.skipped.size() && plan.skipped[i])) all.push_back(i);
    return StartSend(plan, all, start, SendHooks{{}, {}, {}, progress});
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
