#include "ZantrelKit/CSV.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;

namespace {

struct Case {
    CSV::Table table;
    QString text;
};

TEST(CSV, WritesAndReadsBack) {
    const QString crlf = QStringLiteral("\r\n");
    const QList<Case> cases{
        {{{QStringLiteral("a"), QStringLiteral("b,c")}}, QStringLiteral("a,\"b,c\"") + crlf},
        {{{QStringLiteral("say \"hi\"")}}, QStringLiteral("\"say \"\"hi\"\"\"") + crlf},
        {{{QStringLiteral("a")}, {QStringLiteral("x")}}, QStringLiteral("a") + crlf + QStringLiteral("x") + crlf},
        {{{QStringLiteral("a"), QString()}}, QStringLiteral("a,") + crlf},
        {{{QStringLiteral("a"), QStringLiteral("first\nsecond")}}, QStringLiteral("a,\"first\nsecond\"") + crlf},
        {{{QStringLiteral("cr\rlf"), QStringLiteral("pair\r\nend")}},
         QStringLiteral("\"cr\rlf\",\"pair\r\nend\"") + crlf},
        {{{QStringLiteral("café 🙂"), QStringLiteral("e\u0301")}}, QStringLiteral("café 🙂,e\u0301") + crlf},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CSV::text(c.table), c.text);
        EXPECT_EQ(CSV::rows(c.text), c.table) << c.text.toStdString();
    }
}

TEST(CSV, EmptyTablesAndEmptyRows) {
    EXPECT_EQ(CSV::text({}), QString());
    EXPECT_EQ(CSV::rows(QString()), CSV::Table{});
    // A row with no fields is written as an empty line and read back as one empty field.
    EXPECT_EQ(CSV::text({QStringList{}}), QStringLiteral("\r\n"));
    EXPECT_EQ(CSV::rows(QStringLiteral("\r\n")), (CSV::Table{{QString()}}));
    EXPECT_EQ(CSV::rows(QStringLiteral("\n")), (CSV::Table{{QString()}}));
}

TEST(CSV, ReadingOddText) {
    EXPECT_EQ(CSV::rows(QStringLiteral("a,b\n")), (CSV::Table{{QStringLiteral("a"), QStringLiteral("b")}}));
    EXPECT_EQ(CSV::rows(QStringLiteral("a,b")), (CSV::Table{{QStringLiteral("a"), QStringLiteral("b")}}));
    EXPECT_EQ(CSV::rows(QStringLiteral("ab\"c,d\"e")), (CSV::Table{{QStringLiteral("abc,de")}}));
    EXPECT_EQ(CSV::rows(QStringLiteral("a,\"open\r\nrest,x")),
              (CSV::Table{{QStringLiteral("a"), QStringLiteral("open\r\nrest,x")}}));
    EXPECT_EQ(CSV::rows(QStringLiteral("x\r\ry\n\nz")),
              (CSV::Table{{QStringLiteral("x")}, {QString()}, {QStringLiteral("y")}, {QString()}, {QStringLiteral("z")}}));
    EXPECT_EQ(CSV::rows(QStringLiteral("a,")), (CSV::Table{{QStringLiteral("a"), QString()}}));
    EXPECT_TRUE(CSV::rows(QStringLiteral("\"\"")).isEmpty());  // nothing was ever added to the field
}

}  // namespace
