// The record of a send under way, as a crash or a hand may leave it: any bytes either are refused
// or give a record that, written again, reads back the same.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "SavedSend.h"

namespace {

bool Same(const korvex::SavedSend& a, const korvex::SavedSend& b) {
    if (a.mailbox != b.mailbox || a.address != b.address || a.subjectTemplate != b.subjectTemplate ||
        a.edit != b.edit || a.entries.size() != b.entries.size())
        return false;
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const auto &x = a.entries[i], &y = b.entries[i];
        if (x.path != y.path || x.subject != y.subject || x.started != y.started || x.startedAt != y.startedAt)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = korvex::ParseSavedSend(bytes);
    if (!read) return 0;
    if (read->StartedCount() > read->entries.size()) std::abort();
    const auto again = korvex::ParseSavedSend(korvex::SavedSendText(*read));
    if (!again || !Same(*read, *again)) std::abort();
    return 0;
}
