#include <gtest/gtest.h>

#include <sstream>

#include "desktop/Version.h"
#include "desktop/ui/CommandLine.h"

namespace korvana {
namespace {

struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Answer Answered(const QStringList& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    Answer answer;
    answer.status = AnswerCommandLine(arguments, out, err);
    answer.out = out.str();
    answer.err = err.str();
    return answer;
}

TEST(CommandLine, VersionPrintsTheBuildsVersionAndEnds) {
    for (const char* option : {"--version", "-v"}) {
        const Answer answer = Answered({QStringLiteral("korvana"), QString::fromLatin1(option)});
        EXPECT_EQ(answer.status, std::optional<int>(0)) << option;
        EXPECT_EQ(answer.out, std::string("Korvana MP3 Finder ") + kProgramVersion + "\n");
    }
}

TEST(CommandLine, HelpListsTheOptionsAndEnds) {
    for (const char* option : {"--help", "-h", "--help-all"}) {
        const Answer answer = Answered({QStringLiteral("korvana"), QString::fromLatin1(option)});
        EXPECT_EQ(answer.status, std::optional<int>(0)) << option;
        EXPECT_NE(answer.out.find("--version"), std::string::npos) << option;
        EXPECT_NE(answer.out.find("--help"), std::string::npos) << option;
    }
}

TEST(CommandLine, WithoutOptionsTheProgramStarts) {
    const Answer answer = Answered({QStringLiteral("korvana")});
    EXPECT_FALSE(answer.status);
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err, "");
}

// Qt's own options are QApplication's to read; an unknown long option is
// reported but does not stop the program.
TEST(CommandLine, UnknownLongOptionsAreReportedAndQtOptionsPassed) {
    const Answer answer = Answered({QStringLiteral("korvana"), QStringLiteral("-style"),
                                    QStringLiteral("fusion"), QStringLiteral("--frobnicate=3")});
    EXPECT_FALSE(answer.status);
    EXPECT_EQ(answer.err, "Unknown option: --frobnicate\n");
}

}  // namespace
}  // namespace korvana
