#include "SendChoice.h"

namespace korvex {

SendChoice ChooseSend(const SendList& list, std::wstring_view mailbox, std::wstring_view address) {
    SendChoice choice;
    std::vector<std::size_t> neverThere;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        if (!list.StartedTo(i, mailbox, address)) {
            neverThere.push_back(i);
            continue;
        }
        for (const SendPart& part : list[i].parts)
            if (part.started) choice.lastStartedAt = part.startedAt;
    }
    if (neverThere.size() == list.Size()) return choice;

    // The last set there, as far as its members are still in the list.
    const std::uint32_t set = list.LatestSet(mailbox, address);
    std::size_t notStartedOutside = neverThere.size();
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const SendPart* part = list.PartIn(i, set);
        if (!part) continue;
        choice.count = part->count;
        if (part->started) {
            ++choice.started;
        } else {
            choice.rest.push_back(i);
            if (!list.StartedTo(i, mailbox, address)) --notStartedOutside;
        }
    }
    if (!choice.rest.empty()) {
        choice.kind = SendChoiceKind::Rest;
        choice.set = set;
        choice.outside = notStartedOutside;
        return choice;
    }
    if (neverThere.empty()) {
        choice.kind = SendChoiceKind::AlreadySent;
        return choice;
    }
    choice.kind = SendChoiceKind::New;
    choice.rest = std::move(neverThere);
    return choice;
}

}  // namespace korvex
