#include "SavedSend.h"

#include <algorithm>
#include <charconv>

#include "SendJournal.h"
#include "Utf8.h"

namespace korvex {

namespace {

constexpr std::string_view kMagic = "korvex-send 1";

std::string Escape(std::wstring_view value) {
    std::string out;
    for (const char c : EncodeUtf8(value)) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

std::optional<std::wstring> Unescape(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size()) return std::nullopt;
        switch (value[i]) {
            case '\\': out += '\\'; break;
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: return std::nullopt;
        }
    }
    return DecodeUtf8(out);
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<std::size_t> Number(std::string_view text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::size_t SavedSend::StartedCount() const {
    return static_cast<std::size_t>(
        std::count_if(entries.begin(), entries.end(), [](const SavedSendEntry& e) { return e.started; }));
}

std::string SavedSendText(const SavedSend& send) {
    std::string text(kMagic);
    text += "\nmailbox\t" + Escape(send.mailbox) + "\naddress\t" + Escape(send.address) + "\ntemplate\t" +
            Escape(send.subjectTemplate) + "\nedit\t" + (send.edit ? "1" : "0") + "\ncount\t" +
            std::to_string(send.entries.size()) + "\n";
    for (std::size_t i = 0; i < send.entries.size(); ++i) {
        const SavedSendEntry& entry = send.entries[i];
        text += "entry\t" + Escape(entry.path) + "\t" + Escape(entry.subject) + "\t" +
                std::to_string(entry.number ? entry.number : i + 1) + "\t" +
                std::to_string(entry.number ? entry.count : send.entries.size()) + "\n";
    }
    text += "end\n";
    for (std::size_t i = 0; i < send.entries.size(); ++i)
        if (send.entries[i].started) text += StartedLine(i, send.entries[i].startedAt);
    return text;
}

std::string StartedLine(std::size_t position, std::wstring_view clock) {
    return "started\t" + std::to_string(position) + "\t" + Escape(clock) + "\n";
}

std::optional<SavedSend> ParseSavedSend(std::string_view bytes) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) break;  // a line its writer did not finish
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() < 7 || lines[0] != kMagic) return std::nullopt;
    SavedSend send;
    auto value = [&](std::size_t line, std::string_view key) -> std::optional<std::wstring> {
        const auto fields = Split(lines[line]);
        if (fields.size() != 2 || fields[0] != key) return std::nullopt;
        return Unescape(fields[1]);
    };
    const auto mailbox = value(1, "mailbox"), address = value(2, "address"), subject = value(3, "template"),
               edit = value(4, "edit");
    const auto countFields = Split(lines[5]);
    if (!mailbox || !address || !subject || !edit || countFields.size() != 2 || countFields[0] != "count")
        return std::nullopt;
    const auto count = Number(countFields[1]);
    if (!count || *count > lines.size() - 7) return std::nullopt;
    send.mailbox = *mailbox;
    send.address = *address;
    send.subjectTemplate = *subject;
    send.edit = *edit == L"1";
    std::size_t line = 6;
    for (std::size_t i = 0; i < *count; ++i, ++line) {
        const auto fields = Split(lines[line]);
        // Records written before the numbers were kept have three fields.
        if ((fields.size() != 3 && fields.size() != 5) || fields[0] != "entry") return std::nullopt;
        auto path = Unescape(fields[1]);
        auto subjectText = Unescape(fields[2]);
        if (!path || !subjectText) return std::nullopt;
        std::size_t number = i + 1, total = *count;
        if (fields.size() == 5) {
            const auto n = Number(fields[3]), c = Number(fields[4]);
            if (!n || !c || *n == 0 || *n > *c) return std::nullopt;
            number = *n;
            total = *c;
        }
        send.entries.push_back({std::move(*path), std::move(*subjectText), false, {}, number, total});
    }
    if (line >= lines.size() || lines[line] != "end") return std::nullopt;
    for (++line; line < lines.size(); ++line) {
        const auto fields = Split(lines[line]);
        if (fields.size() != 3 || fields[0] != "started") continue;
        const auto position = Number(fields[1]);
        const auto clock = Unescape(fields[2]);
        if (!position || *position >= send.entries.size() || !clock) continue;
        send.entries[*position].started = true;
        send.entries[*position].startedAt = *clock;
    }
    return send;
}

std::wstring SavedSendPathFor(std::wstring_view exePath) {
    std::wstring journal = JournalPathFor(exePath);
    journal.resize(journal.size() - std::wstring_view(L"-journal.csv").size());
    return journal + L"-send.txt";
}

}  // namespace korvex
