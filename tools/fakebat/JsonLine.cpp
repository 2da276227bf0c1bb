#include "JsonLine.h"

#include <cstdio>

#include "Utf8.h"

namespace korvex {

std::string JsonString(std::wstring_view text) {
    std::string out = "\"";
    for (char c : EncodeUtf8(text)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

namespace {
template <typename List>
std::string JsonArray(const List& items) {
    std::string out = "[";
    for (const auto& item : items) {
        if (out.size() > 1) out += ",";
        out += JsonString(item);
    }
    return out + "]";
}
}  // namespace

std::string MailCommandJson(std::wstring_view raw, const std::optional<MailCommand>& cmd, std::uint64_t created,
                            bool lost) {
    std::string out = "{\"raw\":" + JsonString(raw) + ",\"ok\":" + (cmd ? "true" : "false");
    if (cmd) {
        out += ",\"program\":" + JsonString(cmd->program);
        out += ",\"stray\":" + JsonString(cmd->stray);
        out += ",\"account\":" + JsonString(cmd->account);
        out += ",\"to\":" + JsonString(cmd->to);
        out += ",\"attachments\":" + JsonArray(cmd->attachments);
        out += ",\"subject\":" + JsonString(cmd->subject);
        out += ",\"flags\":" + JsonArray(cmd->flags);
        out += ",\"rest\":" + JsonString(cmd->rest);
    }
    out += ",\"created\":" + std::to_string(created);
    if (lost) out += ",\"lost\":true";
    out += "}";
    return out;
}

}  // namespace korvex
