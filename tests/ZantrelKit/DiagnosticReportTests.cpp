#include "ZantrelKit/Copy.h"
#include "ZantrelKit/DiagnosticReport.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using DiagnosticReport::PrivateNames;

namespace {

const QList<DiagnosticReport::Fact> facts{{QStringLiteral("Version"), QStringLiteral("1.2 (34)")},
                                          {QStringLiteral("Mac"), QStringLiteral("Mac15,3")}};

QStringList numberedLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("12:00:00 grab: line %1").arg(i));
    return lines;
}

TEST(DiagnosticReport, FactsEmptyLineAndFooter) {
    const QString footer = Copy::Diagnostics::footer(QStringLiteral("Glyphnab"));
    EXPECT_EQ(DiagnosticReport::make(QStringLiteral("Glyphnab"), facts, {}, {}),
              QStringLiteral("Glyphnab report\nVersion: 1.2 (34)\nMac: Mac15,3\n\n") + footer);
    EXPECT_EQ(DiagnosticReport::make(QStringLiteral("Glyphnab"), facts, {QStringLiteral("09:41:00 grab: done")}, {}),
              QStringLiteral("Glyphnab report\nVersion: 1.2 (34)\nMac: Mac15,3\n\n09:41:00 grab: done\n\n") + footer);
    // Every log line left out: no second empty line.
    EXPECT_EQ(DiagnosticReport::make(QStringLiteral("G"), {}, {QStringLiteral("on studio")},
                                     PrivateNames{QStringLiteral("Studio"), {}, {}}),
              QStringLiteral("G report\n\n") + Copy::Diagnostics::footer(QStringLiteral("G")));
}

TEST(DiagnosticReport, HomeFoldersShortenedAndTheLineKept) {
    const PrivateNames names{{}, QStringLiteral("u501"), QStringLiteral("/var/home/u501")};
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("read /Users/u501/Desktop/a.png"), names),
              QStringLiteral("read ~/Desktop/a.png"));
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("read /home/u501/a.png and /home/u501"), names),
              QStringLiteral("read ~/a.png and ~"));
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("read /var/home/u501/b.pdf"), names),
              QStringLiteral("read ~/b.pdf"));
}

TEST(DiagnosticReport, AnotherUsersFolderIsNotShortened) {
    // "/Users/u501" inside "/Users/u5012" is another account's folder.
    const PrivateNames names{{}, QStringLiteral("u501"), {}};
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("/Users/u5012/a and /home/u501x"), names),
              QStringLiteral("/Users/u5012/a and /home/u501x"));
}

TEST(DiagnosticReport, LinesNamingTheUserOrComputerAreLeftOut) {
    const PrivateNames user{{}, QStringLiteral("u501"), {}};
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("hello U501 there"), user), std::nullopt);
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("id u5012"), user), QStringLiteral("id u5012"));
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("/tmp/u501/x"), user), std::nullopt);

    const PrivateNames studio{QStringLiteral("Studio (2)"), {}, {}};
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("host studio (2) ready"), studio), std::nullopt);
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("host Studio (2)"), studio), std::nullopt);
    // Literal, not a pattern: "(2)" is not a group.
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("Studio 2"), studio), QStringLiteral("Studio 2"));

    const PrivateNames dotted{QStringLiteral("a.b"), {}, {}};
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("axb"), dotted), QStringLiteral("axb"));
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("Jörg-a.b"), dotted), std::nullopt);
    const PrivateNames accented{QStringLiteral("jörg"), {}, {}};
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("by JÖRG"), accented), std::nullopt);
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("by jörgen"), accented), QStringLiteral("by jörgen"));
}

TEST(DiagnosticReport, EmptyNamesCheckAndReplaceNothing) {
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("/Users/ and /home/ x"), {}),
              QStringLiteral("/Users/ and /home/ x"));
    // A home folder of "/" would turn every path into "~".
    EXPECT_EQ(DiagnosticReport::clean(QStringLiteral("/etc/x"), PrivateNames{{}, {}, QStringLiteral("/")}),
              QStringLiteral("/etc/x"));
}

TEST(DiagnosticReport, CapKeepsTheNewestRemainingLines) {
    const QString report = DiagnosticReport::make(QStringLiteral("G"), {}, numberedLines(250), {});
    const QStringList lines = report.split(u'\n');
    ASSERT_EQ(lines.size(), 2 + 200 + 2);
    EXPECT_EQ(lines[2], QStringLiteral("12:00:00 grab: line 50"));
    EXPECT_EQ(lines[201], QStringLiteral("12:00:00 grab: line 249"));

    QStringList mixed = numberedLines(190);
    for (int i = 0; i < 60; ++i)
        mixed.insert(i * 3, QStringLiteral("u501 was here"));
    const QStringList kept =
        DiagnosticReport::make(QStringLiteral("G"), {}, mixed, PrivateNames{{}, QStringLiteral("u501"), {}})
            .split(u'\n');
    ASSERT_EQ(kept.size(), 2 + 190 + 2);
    EXPECT_EQ(kept[2], QStringLiteral("12:00:00 grab: line 0"));
    EXPECT_FALSE(kept.join(u'\n').contains(QStringLiteral("u501 was")));
}

}  // namespace
