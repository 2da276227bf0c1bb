#include <gtest/gtest.h>

#include "SendChoice.h"

#include "SimpleFold.h"

using namespace korvex;

namespace {

// A list of n files "C:\d\1" … "C:\d\n".
SendList Files(std::size_t n) {
    SendList list(SimpleFold);
    for (std::size_t i = 1; i <= n; ++i) list.Add(L"C:\\d\\" + std::to_wstring(i), L"1 B");
    return list;
}

std::vector<std::size_t> Range(std::size_t from, std::size_t to) {
    std::vector<std::size_t> positions;
    for (std::size_t i = from; i < to; ++i) positions.push_back(i);
    return positions;
}

// A send of the positions as a new set to the mailbox and address, of which the first `started` go.
std::uint32_t Send(SendList& list, const wchar_t* address, std::vector<std::size_t> positions, std::size_t started) {
    const std::uint32_t set = list.BeginSet(L"Office", address, positions);
    for (std::size_t k = 0; k < started && k < positions.size(); ++k)
        list.SetStarted(positions[k], set, L"10:00:0" + std::to_wstring(k % 10));
    return set;
}

std::vector<std::size_t> Numbers(const SendList& list, const SendChoice& choice) {
    std::vector<std::size_t> numbers;
    for (const std::size_t i : choice.rest) numbers.push_back(list.PartIn(i, choice.set)->number);
    return numbers;
}

}  // namespace

TEST(SendChoice, EveryAddressAndMailboxTheFilesWentToIsKnown) {
    SendList list = Files(3);
    EXPECT_EQ(ChooseSend(list, L"Office", L"a@x").kind, SendChoiceKind::First);
    Send(list, L"a@x", Range(0, 3), 3);
    Send(list, L"b@x", Range(0, 3), 3);
    // To a, then b, then a again: a is asked about, though b was the last.
    EXPECT_EQ(ChooseSend(list, L"Office", L"a@x").kind, SendChoiceKind::AlreadySent);
    EXPECT_EQ(ChooseSend(list, L"Office", L"b@x").kind, SendChoiceKind::AlreadySent);
    EXPECT_EQ(ChooseSend(list, L"Other", L"a@x").kind, SendChoiceKind::First);
    EXPECT_EQ(list.StartedTo(L"Office", L"a@x"), 3u);
    // Clearing what the column shows forgets no send.
    list.ClearMarks();
    EXPECT_EQ(ChooseSend(list, L"Office", L"a@x").kind, SendChoiceKind::AlreadySent);
}

TEST(SendChoice, TheRestOfASetKeepsItsNumbersWhateverWasAddedOrRemoved) {
    SendList list = Files(10);
    Send(list, L"a@x", Range(0, 10), 3);  // Esc after the third
    list.RemoveAt({1});                   // a sent one goes
    list.Add(L"C:\\d\\new", L"1 B");      // a new one comes
    SendChoice choice = ChooseSend(list, L"Office", L"a@x");
    ASSERT_EQ(choice.kind, SendChoiceKind::Rest);
    EXPECT_EQ(choice.started, 2u);
    EXPECT_EQ(choice.count, 10u);
    EXPECT_EQ(choice.outside, 1u);
    EXPECT_EQ(choice.lastStartedAt, L"10:00:02");
    EXPECT_EQ(Numbers(list, choice), (std::vector<std::size_t>{4, 5, 6, 7, 8, 9, 10}));

    // An unsent member removed is simply not sent.
    list.RemoveAt({3});  // part 5
    choice = ChooseSend(list, L"Office", L"a@x");
    EXPECT_EQ(Numbers(list, choice), (std::vector<std::size_t>{4, 6, 7, 8, 9, 10}));

    // Once the set is finished, the file added later is offered alone, to be numbered by itself.
    for (const std::size_t i : choice.rest) list.SetStarted(i, choice.set, L"10:01:00");
    choice = ChooseSend(list, L"Office", L"a@x");
    ASSERT_EQ(choice.kind, SendChoiceKind::New);
    EXPECT_EQ(choice.rest, (std::vector<std::size_t>{list.Size() - 1}));
}

TEST(SendChoice, TheLatestSetToAnAddressIsTheOneFinished) {
    SendList list = Files(4);
    Send(list, L"a@x", Range(0, 4), 4);
    // "Все заново", stopped after two: the second set is the one to finish, not a question whether
    // to send everything again.
    Send(list, L"a@x", Range(0, 4), 2);
    SendChoice choice = ChooseSend(list, L"Office", L"a@x");
    ASSERT_EQ(choice.kind, SendChoiceKind::Rest);
    EXPECT_EQ(Numbers(list, choice), (std::vector<std::size_t>{3, 4}));

    // A set begun and dropped before any start leaves nothing behind.
    const std::uint32_t dropped = list.BeginSet(L"Office", L"a@x", Range(0, 4));
    list.DropSet(dropped);
    EXPECT_EQ(ChooseSend(list, L"Office", L"a@x").set, choice.set);
    EXPECT_EQ(list.PartIn(0, dropped), nullptr);

    // Failed starts leave no start behind: nothing went there, so nothing is asked.
    SendList failed = Files(2);
    Send(failed, L"a@x", Range(0, 2), 0);
    EXPECT_EQ(ChooseSend(failed, L"Office", L"a@x").kind, SendChoiceKind::First);
}
