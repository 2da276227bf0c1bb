#pragma once
// One press of "Отправить": a client start per send-list entry, in list order, one at a time. Every
// command is built and checked before the first start, so a send starts either all of its files or
// none.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SendList.h"

namespace korvex {

// The longest command line CreateProcessW takes: 32,767 characters with its terminating null.
inline constexpr std::size_t kMaxCommandLength = 32766;
// The longest application name CreateProcessW takes: shorter than MAX_PATH (260).
inline constexpr std::size_t kMaxClientPathLength = 259;

struct SendRequest {
    std::wstring clientPath;  // as the registry holds it
    std::wstring mailbox;
    std::wstring address;
    std::wstring subjectTemplate;
    bool edit = false;
};

// What became of one start: error 0 is a process that was started; confirmed is false for one
// that neither ended nor waited for input within the bound (the client may hang); gone is a file
// that was no longer there right before its start, which was therefore not made.
struct StartOutcome {
    std::uint32_t error = 0;
    bool confirmed = true;
    bool gone = false;
    StartOutcome(std::uint32_t startError = 0, bool startConfirmed = true)  // NOLINT: a bare error code is one
        : error(startError), confirmed(startConfirmed) {}
};

// Starts application with commandLine and returns once the start is settled (the process ended,
// waits for input, or the bound passed).
using ProcessStarter = std::function<StartOutcome(std::wstring_view application, std::wstring_view commandLine)>;

// The program to start: the client path without the quotes that may enclose it.
std::wstring ClientApplication(std::wstring_view clientPath);

enum class PathKind { Missing, File, Folder };
enum class ClientPathProblem { Empty, TooLong, Missing, Folder };

// Why the client cannot be started from application, if it cannot. kindOf is asked only about a
// path that is neither empty nor too long.
std::optional<ClientPathProblem> CheckClientPath(std::wstring_view application,
                                                 const std::function<PathKind(std::wstring_view)>& kindOf);

// Every start of one send, built before any is made.
struct SendPlan {
    std::wstring application;
    std::vector<std::wstring> commands;        // one per entry, in list order
    std::vector<std::wstring> subjects;        // each entry's expanded subject
    std::optional<std::size_t> firstOverlong;  // the first entry whose command the system would cut
    std::vector<bool> skipped;                 // per entry: not to be started (its file is gone)
};
// numbers, when not empty, gives each entry its {%i, %n}; an entry numbered 0 is not part of the
// send and gets no command. Empty: the entries are numbered 1 to n in list order.
SendPlan PlanSend(const SendRequest& request, const std::vector<SendListEntry>& entries,
                  std::size_t limit = kMaxCommandLength, const std::vector<SendList::PartNumber>& numbers = {});

// The positions of the entries whose files are not there, as exists tells, in list order; a path
// that names a device (IsDevicePath) is not a file there, whatever exists tells.
std::vector<std::size_t> FindMissingFiles(const std::vector<SendListEntry>& entries,
                                          const std::function<bool(std::wstring_view path)>& exists);

// How many missing files a message names before it only counts the rest.
inline constexpr std::size_t kMaxNamedMissingFiles = 10;

// The text of the box that asks whether to send the others: "Не найдены файлы (k из n):", the
// first kMaxNamedMissingFiles paths (each shortened in its middle to at most shownLength
// characters), how many more, and what "Отправить остальные" does.
// total is the number of files the send was to start (0: every entry).
std::wstring MissingFilesText(const std::vector<SendListEntry>& entries, const std::vector<std::size_t>& missing,
                              std::size_t shownLength, std::size_t total = 0);

// Marks the given entries of the plan as not to be started.
void SkipEntries(SendPlan& plan, const std::vector<std::size_t>& positions);

// Told after each start how many were made and how many there are; false stops the send.
using SendProgress = std::function<bool(std::size_t started, std::size_t total)>;

struct DispatchOutcome {
    std::size_t total = 0;      // starts planned (skipped entries not counted)
    std::size_t attempted = 0;  // starts made, failed ones included
    std::size_t failed = 0;
    std::size_t unconfirmed = 0;      // started but not settled within the bound
    std::uint32_t firstError = 0;     // the reason of the first failed start
    bool stopped = false;             // a hook stopped the send before its end
    std::vector<std::size_t> gone{};  // positions whose files were gone right before their starts
};

// What a send tells and asks while it runs; every member may be empty.
struct SendHooks {
    // Right before each start: false when the entry's file is gone, which is then not started.
    std::function<bool(std::size_t position)> present;
    // After each start (or file found gone), with the entry's position in the plan; false stops
    // the send after it.
    std::function<bool(std::size_t position, const StartOutcome& outcome)> started;
    // Asked once, after the first start that was not confirmed; false stops the send.
    std::function<bool()> goOnUnconfirmed;
    SendProgress progress;
};

// Starts the client once per chosen position of the plan (ascending), one start after the other,
// whatever became of the starts before it, until the end or until a hook says stop. A plan with
// an overlong command starts nothing.
DispatchOutcome StartSend(const SendPlan& plan, const std::vector<std::size_t>& positions, const ProcessStarter& start,
                          const SendHooks& hooks);
// Every position of the plan that is not skipped. Skipped entries keep their positions: the
// others' subjects are numbered as in the whole list.
DispatchOutcome StartSend(const SendPlan& plan, const ProcessStarter& start, const SendProgress& progress = {});

// The text shortened to at most maxLength characters by an ellipsis in its middle, for a message
// box; a surrogate pair is never split.
std::wstring ShortenMiddle(std::wstring_view text, std::size_t maxLength);

}  // namespace korvex
