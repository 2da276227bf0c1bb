// TQFileExplorer: the shell's answers per path, asked by the list's background thread and put
// into the rows as they land, without moving any row.

#include <algorithm>

#include "Drives.h"
#include "ExplorerText.h"
#include "Locale.h"
#include "QFileExplorer.h"

namespace korvex::components {

namespace {

std::wstring FoldedExtension(std::wstring_view name) {
    const auto dot = name.find_last_of(L'.');
    return dot == std::wstring_view::npos ? std::wstring() : platform::FoldCase(name.substr(dot));
}

// Runs on the background thread: nothing of the list is touched here.
void AskShell(const ShellRequest& request, ShellAnswer& answer) {
    if (request.question == ShellQuestion::drive) {
        answer.info = platform::QueryShellInfo(request.path, 0, true);
        answer.disk = TQFileExplorer::GetDiskInfo(request.path);
    } else {
        answer.info = platform::QueryShellInfo(request.path, request.attributes, false);
    }
}

}  // namespace

UINT TQFileExplorer::ShellAnswersMessage() {
    static const UINT message = RegisterWindowMessageW(L"Korvex.Explorer.ShellAnswers");
    return message;
}

UINT TQFileExplorer::AskShellMessage() {
    static const UINT message = RegisterWindowMessageW(L"Korvex.Explorer.AskShell");
    return message;
}

bool TQFileExplorer::ShellAnswersOutstanding() const {
    return !wanted_.empty() || (answers_ && answers_->Outstanding());
}

void TQFileExplorer::AskWantedAfterPaint() {
    if (wanted_.empty() || askPosted_) return;
    // A refill paints the list before it returns; posted messages come before any other input.
    askPosted_ = hwnd_ && PostMessageW(hwnd_, AskShellMessage(), 0, 0);
    if (!askPosted_) AskWanted();
}

std::size_t TQFileExplorer::ShellQuestionsAsked() const {
    return answers_ ? answers_->Asked() : 0;
}

std::pair<int, int> TQFileExplorer::PositionsInView() const {
    const int count = static_cast<int>(order_.size());
    if (!hwnd_ || count == 0) return {-1, -1};
    // In the icon views the list has no first row in view: all rows may be.
    if (viewStyle_ != TViewStyle::vsReport && viewStyle_ != TViewStyle::vsList) return {0, count - 1};
    const int top = std::max(ListView_GetTopIndex(hwnd_), 0);
    // One more than fit: the row cut at the bottom shows too.
    const int last = std::min(count - 1, top + std::max(ListView_GetCountPerPage(hwnd_), 0));
    return {top, last};
}

ShellAnswerThread& TQFileExplorer::Answers() {
    if (!answers_)
        answers_ = std::make_unique<ShellAnswerThread>(
            hwnd_, ShellAnswersMessage(), Shell.AskPerPath ? Shell.AskPerPath : ShellAnswerThread::Ask(&AskShell));
    return *answers_;
}

void TQFileExplorer::AskWanted() {
    std::vector<ShellRequest> wanted = std::exchange(wanted_, {});
    if (wanted.empty()) return;
    // In display order, the rows in view first.
    std::vector<std::uint32_t> positionOf(rows_.size());
    for (std::uint32_t i = 0; i < order_.size(); ++i) positionOf[order_[i]] = i;
    const auto [from, to] = PositionsInView();
    auto rank = [&](const ShellRequest& r) {
        const auto position = static_cast<std::int64_t>(positionOf[r.row]);
        const bool inView = position >= from && position <= to;
        return inView ? position : position + static_cast<std::int64_t>(rows_.size());
    };
    std::stable_sort(wanted.begin(), wanted.end(),
                     [&](const ShellRequest& a, const ShellRequest& b) { return rank(a) < rank(b); });
    Answers().Start(std::move(wanted));
}

void TQFileExplorer::AskMore(std::vector<ShellRequest> requests) {
    if (!hwnd_ || requests.empty()) return;
    if (!wanted_.empty()) {
        // The listing's questions are not asked yet: these go with them.
        for (auto& request : requests) wanted_.push_back(std::move(request));
        return;
    }
    Answers().Add(std::move(requests));
}

void TQFileExplorer::PreferPositions(int from, int to) {
    if (!answers_ || from < 0 || to < from) return;
    std::vector<std::uint32_t> rows;
    for (int i = from; i <= to && static_cast<std::size_t>(i) < order_.size(); ++i)
        rows.push_back(order_[static_cast<std::size_t>(i)]);
    answers_->Prefer(rows);
}

void TQFileExplorer::ApplyDriveAnswer(TExplorerEntry& entry, const ShellAnswer& answer) {
    const TDiskInfo& disk = answer.disk;
    const std::wstring separator = platform::ThousandsSeparator();
    if (!answer.info.displayName.empty()) entry.caption = answer.info.displayName;
    entry.imageIndex = answer.info.iconIndex;
    entry.subItems[0] = DriveTypeName(disk.DriveType);
    entry.subItems[1] = GroupDigits(static_cast<std::uint64_t>(disk.TotalSize), separator);
    entry.subItems[2] = GroupDigits(static_cast<std::uint64_t>(disk.FreeSize), separator);
    PrepareSortKeys(entry, Facts());
    const wchar_t letter = entry.FullPath().empty() ? L'\0' : entry.FullPath()[0];
    if (letter >= L'A' && letter <= L'Z') slowDrives_[static_cast<std::size_t>(letter - L'A')] = disk;
}

void TQFileExplorer::TakeShellAnswers() {
    if (!answers_ || !hwnd_) return;
    const std::vector<ShellAnswer> answers = answers_->Take();
    if (answers.empty()) return;
    bool drives = false;
    for (const ShellAnswer& answer : answers) {
        const ShellRequest& request = answer.request;
        if (!answer.answered || request.row >= rows_.size()) continue;
        TExplorerEntry& entry = rows_[request.row];
        // The row was renamed meanwhile: the answer is of a path no longer shown.
        if (entry.FullPath() != request.path) continue;
        switch (request.question) {
            case ShellQuestion::drive:
                ApplyDriveAnswer(entry, answer);
                drives = true;
                break;
            case ShellQuestion::own:
                entry.imageIndex = answer.info.iconIndex;
                entry.subItems[1] = answer.info.typeName;
                shellCache_.Remember(request.path, request.attributes, request.lastWrite, answer.info);
                break;
            case ShellQuestion::type:
                // The shell words the type by path otherwise than by type: every file of the type
                // that shows the type's answer shows the path's.
                if (const auto before = shellCache_.ConfirmType(entry.caption, answer.info)) {
                    const std::wstring extension = FoldedExtension(entry.caption);
                    for (TExplorerEntry& other : rows_) {
                        if (other.imageIndex != before->iconIndex || other.subItems[1] != before->typeName ||
                            other.Kind() != kKindFile || FoldedExtension(other.caption) != extension)
                            continue;
                        other.imageIndex = answer.info.iconIndex;
                        other.subItems[1] = answer.info.typeName;
                    }
                }
                break;
        }
    }
    // The rows keep their places; the ones in view are painted again.
    const auto [from, to] = PositionsInView();
    if (from >= 0) ListView_RedrawItems(hwnd_, from, to);
    // The drives' sizes are part of the status line.
    if (drives) RaiseChange(0, TItemChange::ctText);
}

}  // namespace korvex::components
