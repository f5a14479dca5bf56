#include "ZantrelUI/pieces/DateAndColourFields.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QColorDialog>
#include <QLocale>
#include <QTest>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

class DateFieldTests : public DesignFixture {
protected:
    DateFieldTests() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~DateFieldTests() override { QLocale::setDefault(QLocale::system()); }
    BoundPtr<QDateTime> date = Bound<QDateTime>::make(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
};

TEST_F(DateFieldTests, TheLocaleFormatShowsTheTimeOnlyWhenAskedAndAlwaysAFullYear) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(dateFieldFormat(us, false), u"M/d/yyyy");
    EXPECT_EQ(dateFieldFormat(us, true), u"M/d/yyyy h:mm AP");
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(dateFieldFormat(de, false), u"dd.MM.yyyy");
    EXPECT_EQ(dateFieldFormat(de, true), u"dd.MM.yyyy HH:mm");

    GlassDatePicker dateOnly(QStringLiteral("Due"), date, std::nullopt, false);
    EXPECT_FALSE(dateOnly.field()->displayedSections() & QDateTimeEdit::HourSection);
    EXPECT_EQ(dateOnly.field()->text(), u"3/14/2026");
    EXPECT_EQ(dateOnly.field()->accessibleName(), u"Due");
    GlassDatePicker withTime(QStringLiteral("Due"), date, std::nullopt, true);
    EXPECT_TRUE(withTime.field()->displayedSections() & QDateTimeEdit::MinuteSection);
    EXPECT_EQ(withTime.field()->text(), u"3/14/2026 9:30 AM");
    EXPECT_GE(withTime.minimumHeight(), 28);
}

TEST_F(DateFieldTests, ADateBeforeTheEarliestCannotBeEnteredAndWithoutOneAnyDateCan) {
    const QDateTime earliest(QDate(2026, 3, 1), QTime(0, 0));
    GlassDatePicker picker(QStringLiteral("Start"), date, earliest, false);
    picker.show();
    picker.field()->setFocus();
    picker.field()->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClick(picker.field(), Qt::Key_Down);
    EXPECT_GE(date->get(), earliest) << "typing a year back stops at the earliest date";

    GlassDatePicker open(QStringLiteral("Start"), date, std::nullopt, false);
    open.field()->setDateTime(QDateTime(QDate(1999, 1, 2), QTime(0, 0)));
    EXPECT_EQ(date->get().date(), QDate(1999, 1, 2));
}

TEST_F(DateFieldTests, AnOutsideChangeUpdatesTheFieldAndTheSameDateLeavesItAlone) {
    GlassDatePicker picker(QStringLiteral("Due"), date, std::nullopt, true);
    const int before = picker.field()->refreshes();
    date->set(QDateTime(QDate(2027, 1, 5), QTime(14, 5)));
    EXPECT_EQ(picker.field()->dateTime(), date->get());
    EXPECT_EQ(picker.field()->refreshes(), before + 1);
    picker.field()->update(std::nullopt, true);
    EXPECT_EQ(picker.field()->refreshes(), before + 1) << "an update with the same date does not touch the field";
}

class ColorWellTests : public DesignFixture {};

TEST_F(ColorWellTests, OnlyTheWellThatOpenedThePanelLastReceivesItsColours) {
    auto first = Bound<QColor>::make(Qt::red);
    auto second = Bound<QColor>::make(Qt::blue);
    auto* wellA = new GlassColorWell(QStringLiteral("Ink"), first, false);
    GlassColorWell wellB(QStringLiteral("Paper"), second, true);
    wellA->click();
    EXPECT_EQ(ColorLink::current(), wellA->link());
    EXPECT_FALSE(ColorLink::panel()->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_EQ(first->get(), QColor(Qt::red)) << "opening is not picking";
    ColorLink::panel()->setCurrentColor(Qt::green);
    EXPECT_EQ(first->get(), QColor(Qt::green));

    wellB.click();
    EXPECT_TRUE(ColorLink::panel()->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_TRUE(wellA->link()->isRegistered()) << "the first well still listens";
    ColorLink::panel()->setCurrentColor(Qt::yellow);
    EXPECT_EQ(second->get(), QColor(Qt::yellow));
    EXPECT_EQ(first->get(), QColor(Qt::green));

    wellA->click();
    delete wellA;  // the well goes: its link stops listening
    EXPECT_EQ(ColorLink::current(), nullptr);
    ColorLink::panel()->setCurrentColor(Qt::cyan);
    EXPECT_EQ(first->get(), QColor(Qt::green));
    EXPECT_EQ(second->get(), QColor(Qt::yellow));
    ColorLink::panel()->hide();
}

}  // namespace
}  // namespace DesignTest
