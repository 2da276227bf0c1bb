#include "AddressList.h"

#include <algorithm>

namespace korvex {

std::optional<std::size_t> FindRow(const AddressRows& rows, const FindRequest& request, const CaseFolder& fold) {
    if (rows.empty()) return std::nullopt;
    const std::wstring wanted = fold(request.text);
    const std::size_t start = request.start < rows.size() ? request.start : (request.wrap ? 0 : rows.size());
    const std::size_t looks = request.wrap ? rows.size() : rows.size() - start;
    for (std::size_t k = 0; k < looks; ++k) {
        const std::size_t i = (start + k) % rows.size();
        const std::wstring_view row = rows[i];
        if (row.size() < request.text.size() || (!request.partial && row.size() != request.text.size())) continue;
        // The row's first characters, as many as the text has, folded as the text was.
        const std::wstring folded = fold(request.partial ? row.substr(0, request.text.size()) : row);
        if (folded == wanted) return i;
    }
    return std::nullopt;
}

std::vector<std::wstring_view> RowCursor::Next(std::size_t count) {
    const std::size_t n = std::min(count, Size() - position_);
    std::vector<std::wstring_view> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) out.emplace_back((*rows_)[position_ + i]);
    position_ += n;
    return out;
}

bool RowCursor::Skip(std::size_t count) {
    const std::size_t left = Size() - position_;
    if (count > left) {
        position_ = Size();
        return false;
    }
    position_ += count;
    return true;
}

}  // namespace korvex
