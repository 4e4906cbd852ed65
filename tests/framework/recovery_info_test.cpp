// The recovery copy's description: it survives awkward file names, and a damaged one is refused.
#include <gtest/gtest.h>

#include "framework/recovery_info.h"

namespace {

RecoveryInfo Sample(std::string original)
{
    return RecoveryInfo{std::move(original), 1714567890, ProcessIdentity{4242, "7d1c0c3a-boot", "123456"}};
}

void ExpectSame(const RecoveryInfo& a, const RecoveryInfo& b)
{
    EXPECT_EQ(a.original, b.original);
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.process, b.process);
}

TEST(RecoveryInfo, ReadsBackWhatItWrites)
{
    EXPECT_EQ(FormatRecoveryInfo(Sample("/home/ann/box.pdm")),
              "Polydrom recovery copy 1\noriginal /home/ann/box.pdm\ntime 1714567890\npid 4242\n"
              "boot 7d1c0c3a-boot\nstarted 123456\n");
    // Untitled, and names with the characters that end lines or escape them.
    for (const std::string original :
         {"", "/tmp/a b/two\nlines.pdm", "/tmp/back\\slash\\n.pdm", "/tmp/cr\r.pdm", " "}) {
        RecoveryInfo read;
        ASSERT_TRUE(ParseRecoveryInfo(FormatRecoveryInfo(Sample(original)), &read)) << original;
        ExpectSame(read, Sample(original));
    }
    // Unknown lines (of a later version) are passed over; empty boot and start are allowed.
    RecoveryInfo read;
    ASSERT_TRUE(
        ParseRecoveryInfo("Polydrom recovery copy 1\noriginal\ntime 0\npid 7\nboot\nstarted\ncolour red\n", &read));
    ExpectSame(read, RecoveryInfo{"", 0, ProcessIdentity{7, "", ""}});
}

TEST(RecoveryInfo, RefusesEveryCutShortDescription)
{
    const std::string text = FormatRecoveryInfo(Sample("/home/ann/box.pdm"));
    for (std::size_t length = 0; length < text.size(); ++length) {
        RecoveryInfo read = Sample("untouched");
        const Result parsed = ParseRecoveryInfo(text.substr(0, length), &read);
        EXPECT_FALSE(parsed) << length;
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(read.original, "untouched") << "a refused description changes nothing";
    }
}

TEST(RecoveryInfo, NamesWhatIsWrong)
{
    const std::string head = "Polydrom recovery copy 1\noriginal /a.pdm\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "empty"},
        {"Polydrom recovery copy 2\n", "does not start with"},
        {"\x89PNG\r\n", "does not start with"},
        {head + "time 5\npid x1\nboot\nstarted\n", "pid \"x1\""},
        {head + "time 5\npid 0\nboot\nstarted\n", "pid \"0\""},
        {head + "time -5\npid 1\nboot\nstarted\n", "time \"-5\""},
        {head + "time 5\npid 1\nboot\nstarted 12a\n", "start time"},
        {head + "time 5\ntime 6\npid 1\nboot\nstarted\n", "time line appears twice"},
        {head + "time 5\npid 1\nboot \\x\nstarted\n", "stray backslash"},
        {head + "time 5\nboot\nstarted\n", "no pid line"},
    };
    for (const auto& [text, reason] : cases) {
        RecoveryInfo read;
        const Result parsed = ParseRecoveryInfo(text, &read);
        EXPECT_FALSE(parsed) << text;
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << parsed.error;
    }
}

}  // namespace
