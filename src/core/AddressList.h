#pragma once
// The address list's rows as the window and the address box's suggestions use them.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

using AddressRows = std::vector<std::wstring>;

// Gives a text in the form in which letter case no longer counts (the platform's case folding).
using CaseFolder = std::function<std::wstring(std::wstring_view)>;

struct FindRequest {
    std::wstring_view text;
    std::size_t start = 0;  // the first row looked at
    bool partial = true;    // the row begins with text; else it is text
    bool wrap = true;       // after the last row go on from the first, up to start
};

// The list's type-ahead: the first row from start on that begins with (or is) the text, letter
// case ignored; nullopt when there is none.
std::optional<std::size_t> FindRow(const AddressRows& rows, const FindRequest& request, const CaseFolder& fold);

// A position in the rows, as a string enumerator walks them: Next hands out the rows from the
// position on, Skip passes over them, Reset goes back to the first. Copies walk on their own.
class RowCursor {
public:
    explicit RowCursor(std::shared_ptr<const AddressRows> rows) : rows_(std::move(rows)) {}

    // Up to count rows from the position on; the position moves past them.
    std::vector<std::wstring_view> Next(std::size_t count);
    // Moves past count rows; false when fewer were left (the position is then at the end).
    bool Skip(std::size_t count);
    void Reset() noexcept { position_ = 0; }
    std::size_t Position() const noexcept { return position_; }

private:
    std::size_t Size() const noexcept { return rows_ ? rows_->size() : 0; }
    std::shared_ptr<const AddressRows> rows_;
    std::size_t position_ = 0;
};

}  // namespace korvex
