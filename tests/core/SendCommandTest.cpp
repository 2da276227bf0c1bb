#include <gtest/gtest.h>

#include "MailCommandParser.h"
#include "SendCommand.h"
#include "SendDispatch.h"

using namespace korvex;

TEST(BuildSendCommand, PlainValuesGiveTheClassicString) {
    SendCommandParts p{L"D:\\Mail\\client.exe",  L"Work", L"recipient", L"C:\\Drawings\\", L"plan.dwg",
                       L"Чертежи (часть 2 / 3)", true};
    EXPECT_EQ(BuildSendCommand(p),
              L"D:\\Mail\\client.exe /MAILU=Work;TO=\"recipient\";A=\"C:\\Drawings\\plan.dwg\";"
              L"S=\"Чертежи (часть 2 / 3)\";edit");
    p.edit = false;
    EXPECT_EQ(BuildSendCommand(p).back(), L'"');
    p.address = L"   ";
    EXPECT_NE(BuildSendCommand(p).find(L";TO=\"   \";"), std::wstring::npos);
    EXPECT_EQ(BuildSendHead(L"c.exe", L"Work", L"x") + BuildSendTail(L"C:\\", L"a", L"s", true),
              L"c.exe /MAILU=Work;TO=\"x\";A=\"C:\\a\";S=\"s\";edit");
}

TEST(BuildSendCommand, QuotesByTheClientRules) {
    struct Case {
        std::wstring mailbox, address, subject, expected;
    };
    const Case cases[] = {
        {L"Рабочий ящик", L"a@b", L"s", L"c.exe /MAILU=\"Рабочий ящик\";TO=\"a@b\";A=\"C:\\f\";S=\"s\""},
        {L"a;b", L"a@b", L"s", L"c.exe /MAILU=\"a;b\";TO=\"a@b\";A=\"C:\\f\";S=\"s\""},
        {L"say\"x", L"a@b", L"s", L"c.exe /MAILU='say\"x';TO=\"a@b\";A=\"C:\\f\";S=\"s\""},
        {L"O'Brien", L"a@b", L"s", L"c.exe /MAILU=O'Brien;TO=\"a@b\";A=\"C:\\f\";S=\"s\""},
        {L"'lead", L"a@b", L"s", L"c.exe /MAILU=\"'lead\";TO=\"a@b\";A=\"C:\\f\";S=\"s\""},
        {L"Work", L"\"Ivan\" <i@x>", L"s", L"c.exe /MAILU=Work;TO='\"Ivan\" <i@x>';A=\"C:\\f\";S=\"s\""},
        {L"Work", L"x\";A=\"C:\\secret.txt", L"s",
         L"c.exe /MAILU=Work;TO='x\";A=\"C:\\secret.txt';A=\"C:\\f\";S=\"s\""},
        {L"Work", L"a@b", L"Say \"hi\"", L"c.exe /MAILU=Work;TO=\"a@b\";A=\"C:\\f\";S='Say \"hi\"'"},
    };
    for (const auto& c : cases) {
        const SendCommandParts p{L"c.exe", c.mailbox, c.address, L"C:\\", L"f", c.subject, false};
        EXPECT_EQ(BuildSendCommand(p), c.expected) << c.mailbox << L" | " << c.address;
    }
}

// A program splits its command line at blanks: a client path with one must come in double quotes,
// and only then does the client see its own name whole and the switch as its first argument.
TEST(BuildSendCommand, ClientPathWithBlanksIsQuoted) {
    struct Case {
        std::wstring client, head;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\The Bat!\\thebat.exe", L"\"C:\\Program Files\\The Bat!\\thebat.exe\" /MAILU=W;"},
        {L"\"C:\\Program Files\\x.exe\"", L"\"C:\\Program Files\\x.exe\" /MAILU=W;"},
        {L"D:\\Mail\\client.exe", L"D:\\Mail\\client.exe /MAILU=W;"},
        {L"\"D:\\Mail\\client.exe\"", L"\"D:\\Mail\\client.exe\" /MAILU=W;"},
        {L"C:\\Tab\there\\c.exe", L"\"C:\\Tab\there\\c.exe\" /MAILU=W;"},
        {L"/", L"/ /MAILU=W;"},  // a name that looks like a switch of its own
    };
    for (const auto& c : cases) {
        const std::wstring command = BuildSendHead(c.client, L"W", L"a") + BuildSendTail(L"C:\\", L"f", L"s", false);
        EXPECT_TRUE(command.starts_with(c.head)) << command;
        const auto cmd = ParseMailCommand(command);
        ASSERT_TRUE(cmd.has_value()) << command;
        EXPECT_EQ(cmd->program, ClientApplication(c.client));
        EXPECT_EQ(cmd->stray, L"");
        EXPECT_EQ(cmd->account, L"W");
    }
    // What a client makes of the bare path: the first word as its name, the rest as arguments.
    const auto bare = ParseMailCommand(L"C:\\Program Files\\The Bat!\\thebat.exe /MAILU=W;TO=\"a\"");
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->program, L"C:\\Program");
    EXPECT_EQ(bare->stray, L"Files\\The Bat!\\thebat.exe");
}

TEST(BuildSendCommand, UnquotableFieldsAreFoundInCheckOrder) {
    EXPECT_EQ(FindUnquotableField(L"Work", L"a@b", L"s"), std::nullopt);
    EXPECT_EQ(FindUnquotableField(L"a\"b'", L"\"'", L"'\""), SendField::Mailbox);
    EXPECT_EQ(FindUnquotableField(L"Work", L"\"Ivan's\" <i@x>", L"'\""), SendField::Address);
    EXPECT_EQ(FindUnquotableField(L"Work", L"a@b", L"It's \"done\""), SendField::Subject);
}

// Whatever the client is handed, it reads back exactly the values that went in.
TEST(BuildSendCommand, ClientReadsBackEveryQuotableValue) {
    const std::wstring values[] = {
        L"plain", L"with blank", L"semi;colon", L"dq\"in", L"sq'in", L"   ", L"Чертежи (часть 1 / 2)",
        L"'lead", L"trail'",     L"\"lead"};
    for (const auto& mailbox : values)
        for (const auto& other : values) {
            const SendCommandParts p{L"C:\\Program Files\\The Bat!\\thebat64.exe",
                                     mailbox,
                                     other,
                                     L"C:\\Dir with 'quote'\\",
                                     L"f;1.dwg",
                                     other,
                                     true};
            const auto cmd = ParseMailCommand(BuildSendCommand(p));
            ASSERT_TRUE(cmd.has_value()) << mailbox << L" | " << other;
            EXPECT_EQ(cmd->program, p.clientPath);
            EXPECT_EQ(cmd->account, mailbox);
            EXPECT_EQ(cmd->to, other);
            ASSERT_EQ(cmd->attachments.size(), 1u);
            EXPECT_EQ(cmd->attachments[0], L"C:\\Dir with 'quote'\\f;1.dwg");
            EXPECT_EQ(cmd->subject, other);
            EXPECT_EQ(cmd->flags, std::vector<std::wstring>{L"edit"});
            EXPECT_EQ(cmd->rest, L"");
        }
}
