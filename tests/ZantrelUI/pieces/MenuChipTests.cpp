#include "ZantrelUI/pieces/MenuChip.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QAccessible>

namespace DesignTest {
namespace {

using namespace ZantrelUI;
using Chip = MenuChip<int>;

QString name(const int& v) { return QStringLiteral("Item %1").arg(v); }

// The menu as lines: "--" a divider, "# title" a header, "[x] text" a checked item, "[ ] text"
// one with an empty check box, plain text for a plain item, "(off)" after a disabled one.
QStringList describe(QMenu& menu) {
    QStringList lines;
    for (QAction* a : menu.actions()) {
        if (a->isSeparator())
            lines << QStringLiteral("--");
        else if (a->property("menuChipHeader").toBool())
            lines << QStringLiteral("# ") + a->text();
        else
            lines << (a->isChecked() ? QStringLiteral("[x] ") : a->isCheckable() ? QStringLiteral("[ ] ") : QString()) +
                         a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
    }
    return lines;
}

class MenuChipTests : public DesignFixture {};

TEST_F(MenuChipTests, SectionsGetDividersAndOnlyNonEmptyTitlesGetHeaders) {
    auto selection = Bound<int>::make(2);
    Chip chip(QStringLiteral("Quality"), selection,
              {Chip::Section{QStringLiteral("Small"), {1, 2}}, Chip::Section{QString(), {3}},
               Chip::Section{QStringLiteral("Both"), {2}}},
              name, [](const int& v) { return v == 2; });
    auto menu = chip.makeMenu();
    EXPECT_EQ(describe(*menu), (QStringList{QStringLiteral("# Small"), QStringLiteral("Item 1"),
                                            QStringLiteral("[x] Item 2 (off)"), QStringLiteral("--"),
                                            QStringLiteral("Item 3"), QStringLiteral("--"), QStringLiteral("# Both"),
                                            QStringLiteral("[x] Item 2 (off)")}));
}

TEST_F(MenuChipTests, PickingWritesTheSelectionAndAChoiceOutsideTheMenuStillShows) {
    auto selection = Bound<int>::make(9);
    Chip chip(QStringLiteral("Quality"), selection, std::vector<int>{1, 2, 3}, name);
    EXPECT_EQ(chip.shownText(), u"Item 9");
    auto menu = chip.makeMenu();
    EXPECT_EQ(describe(*menu), (QStringList{QStringLiteral("Item 1"), QStringLiteral("Item 2"),
                                            QStringLiteral("Item 3")}));
    menu->actions()[1]->trigger();
    EXPECT_EQ(selection->get(), 2);
    EXPECT_EQ(chip.accessibleText(QAccessible::Value), u"Item 2");
    EXPECT_EQ(chip.accessibleText(QAccessible::Name), u"Quality");
    EXPECT_GE(chip.sizeHint().height(), 26);
}

TEST_F(MenuChipTests, AClickOpensTheMenuUnderTheChip) {
    auto selection = Bound<int>::make(1);
    Chip chip(QStringLiteral("Quality"), selection, std::vector<int>{1, 2}, name);
    chip.show();
    chip.click();
    ASSERT_NE(chip.openMenu(), nullptr);
    EXPECT_TRUE(chip.openMenu()->isVisible());
    chip.openMenu()->close();
}

}  // namespace
}  // namespace DesignTest
