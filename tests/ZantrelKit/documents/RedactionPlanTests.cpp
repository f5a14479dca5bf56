#include "ZantrelKit/documents/RedactionPlan.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(RedactionPlan, MarksSmallerThanAPointAreIgnored) {
    RedactionPlan plan;
    plan.addMark(0, QRectF(10, 10, 0.5, 20));
    plan.addMark(0, QRectF(10, 10, 20, 0));
    plan.addMark(0, QRectF());
    const double infinity = std::numeric_limits<double>::infinity();
    plan.addMark(0, QRectF(infinity, infinity, 0, 0));
    EXPECT_TRUE(plan.isEmpty());
    plan.addMark(0, QRectF(10, 10, 1, 1));
    EXPECT_EQ(plan.marks.size(), 1u);
}

TEST(RedactionPlan, MarksByPage) {
    RedactionPlan plan;
    plan.addMark(3, QRectF(0, 0, 5, 5));
    plan.addMark(1, QRectF(1, 1, 5, 5));
    plan.addMark(3, QRectF(2, 2, 5, 5));
    EXPECT_EQ(plan.pages(), (std::vector<std::int64_t>{1, 3}));
    EXPECT_EQ(plan.boxes(3), (std::vector<QRectF>{QRectF(0, 0, 5, 5), QRectF(2, 2, 5, 5)}));
    EXPECT_TRUE(plan.boxes(2).empty());
    plan.removeMark(-1);
    plan.removeMark(3);
    EXPECT_EQ(plan.marks.size(), 3u);
    plan.removeMark(1);
    EXPECT_EQ(plan.pages(), (std::vector<std::int64_t>{3}));
    EXPECT_EQ((RedactionPlan::Mark{3, QRectF(5, 5, -5, -5)}), (RedactionPlan::Mark{3, QRectF(0, 0, 5, 5)}));
}

TEST(RedactionPlan, TermsAreTrimmedAndUniqueOnceFolded) {
    RedactionPlan plan;
    plan.addTerm(u" \n\t "_s);
    EXPECT_TRUE(plan.isEmpty());
    plan.addTerm(u"  cafe  "_s);
    plan.addTerm(u"Caf\u00e9"_s);
    plan.addTerm(u"\uff23\uff21\uff26\uff25"_s);  // full-width CAFE
    EXPECT_EQ(plan.terms, QStringList{u"cafe"_s});
    plan.removeTerm(u"CAFE"_s);
    EXPECT_EQ(plan.terms, QStringList{u"cafe"_s});
    plan.removeTerm(u"cafe"_s);
    EXPECT_TRUE(plan.isEmpty());
    plan.addTerm(u"x"_s);
    plan.addMark(0, QRectF(0, 0, 2, 2));
    plan.clear();
    EXPECT_TRUE(plan.isEmpty());
}

TEST(RedactionPlan, TermsMatchFoldedSubstrings) {
    RedactionPlan plan;
    EXPECT_FALSE(plan.matches(u"anything"_s));
    EXPECT_TRUE(plan.isClean(u"anything"_s));
    const QMap<QString, QString> info{{u"Author"_s, u"Anna M\u00fcller"_s}, {u"Title"_s, u"Report"_s},
                                      {u"Muller"_s, u"kept"_s}};
    EXPECT_EQ(plan.scrub(info), info);

    plan.addTerm(u"Muller"_s);
    for (const QString& text : {u"M\u00dcLLER"_s, u"m\u00fcller"_s, u"M\u00fcllerstra\u00dfe"_s,
                                u"Mu\u0308ller"_s, u"\uff2d\uff55\uff4c\uff4c\uff45\uff52"_s})
        EXPECT_TRUE(plan.matches(text)) << text.toStdString();
    EXPECT_FALSE(plan.matches(u"Mueller"_s));
    EXPECT_EQ(plan.scrub(info), (QMap<QString, QString>{{u"Title"_s, u"Report"_s}, {u"Muller"_s, u"kept"_s}}));
}

}  // namespace
