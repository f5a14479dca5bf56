// The Languages tab: what it lists, in which order, what a search keeps, and what each
// control writes into the model's preferences.

#include "Glyphnab/windows/LanguageLists.h"
#include "Glyphnab/windows/LanguagesTab.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/pieces/FindField.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SectionLabel.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/pieces/TickBox.h"
#include "tests/Glyphnab/SettingsFixture.h"

#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using SettingsTesting::ModelSetup;
using SettingsTesting::SettingsModel;
using SettingsTesting::settle;
namespace Words = GlyphnabCore::Words;

const QString en = QStringLiteral("en-Latn-US");
const QString de = QStringLiteral("de-Latn-DE");
const QString fr = QStringLiteral("fr-Latn-FR");
const QString pt = QStringLiteral("pt-Latn-BR");
const QString nb = QStringLiteral("nb-Latn-NO");
const QString re = QStringLiteral("fr-Latn-RE");

QStringList ids(const std::vector<LanguageEntry>& entries) {
    QStringList out;
    for (const LanguageEntry& e : entries)
        out.append(e.id);
    return out;
}

QStringList headings(const LanguagesTab& tab) {
    QStringList out;
    if (QWidget* content = tab.listScroll()->widget())
        for (const ZantrelUI::SectionLabel* label : content->findChildren<ZantrelUI::SectionLabel*>())
            out.append(label->text());
    return out;
}

ModelSetup picking(QStringList supported) {
    ModelSetup setup;
    setup.supported = std::move(supported);
    return setup;
}

struct Tab {
    explicit Tab(ModelSetup setup, QStringList stored = {}, bool follow = false) : fake(std::move(setup)) {
        fake.change([&](GlyphnabCore::Preferences& p) {
            p.followSystemLanguages = follow;
            p.languages = stored;
        });
        tab = std::make_unique<LanguagesTab>(*fake.model);
        tab->resize(604, 600);
        tab->show();
        settle();
    }
    const QStringList& stored() const { return fake.model->prefs().languages; }

    SettingsModel fake;
    std::unique_ptr<LanguagesTab> tab;
};

TEST(LanguageLists, PickedKeepStoredOrderOthersSortByNameAndUnsupportedIdsHaveNoRow) {
    const QLocale english(QLocale::English);
    const QStringList supported{pt, en, de, fr};
    const LanguageLists lists = languageLists(supported, {fr, QStringLiteral("xx-Latn-ZZ"), en, fr}, {}, english);
    EXPECT_EQ(ids(lists.picked), (QStringList{fr, en}));  // a repeated stored id is one row
    // "German (Germany)" before "Portuguese (Brazil)".
    EXPECT_EQ(ids(lists.others), (QStringList{de, pt}));

    const LanguageLists none = languageLists(supported, {}, {}, english);
    EXPECT_TRUE(none.picked.empty());
    EXPECT_EQ(ids(none.others), (QStringList{en, fr, de, pt}));  // English, French, German, Portuguese
}

TEST(LanguageLists, EqualNamesKeepTheRecognizersOrder) {
    // Both name the same script form of Chinese.
    const QString sg = QStringLiteral("zh-Hans-SG");
    const QString cn = QStringLiteral("zh-Hans-CN");
    const LanguageLists lists = languageLists({sg, en, cn}, {}, {}, QLocale(QLocale::English));
    ASSERT_EQ(lists.others.size(), 3u);
    EXPECT_EQ(lists.others[0].name, lists.others[1].name);
    EXPECT_EQ(ids(lists.others), (QStringList{sg, cn, en}));
}

TEST(LanguageLists, SearchLooksAtNamesOnlyIgnoringCaseAndAccents) {
    const QLocale english(QLocale::English);
    const QStringList supported{en, nb, re, de};
    EXPECT_EQ(ids(languageLists(supported, {}, QStringLiteral("bokmal"), english).others), QStringList{nb});
    EXPECT_EQ(ids(languageLists(supported, {re}, QStringLiteral("REUNION"), english).picked), QStringList{re});
    EXPECT_TRUE(languageLists(supported, {}, QStringLiteral("Latn"), english).empty());  // only in the ids
    EXPECT_TRUE(languageLists(supported, {}, QStringLiteral("de-"), english).empty());
    EXPECT_TRUE(containsIgnoringMarks(QStringLiteral("Français"), QStringLiteral("franc"), english));
    EXPECT_TRUE(containsIgnoringMarks(QStringLiteral("anything"), QString(), english));
}

TEST(LanguagesTab, TickingListsLanguagesInTickOrderAndUntickingKeepsTheRest) {
    Tab t(picking({en, de, fr, pt}));
    EXPECT_TRUE(headings(*t.tab).isEmpty());
    EXPECT_FALSE(t.tab->clearButton()->isEnabled());
    EXPECT_EQ(t.tab->noteLabel()->text(), Words::settingsNoneChosen());
    EXPECT_EQ(ids(t.tab->lists().others), (QStringList{en, fr, de, pt}));

    for (const QString& id : {pt, en, de}) {
        ASSERT_NE(t.tab->tickFor(id), nullptr) << id.toStdString();
        t.tab->tickFor(id)->click();
        settle();
    }
    EXPECT_EQ(t.stored(), (QStringList{pt, en, de}));
    EXPECT_EQ(ids(t.tab->lists().picked), (QStringList{pt, en, de}));
    EXPECT_EQ(headings(*t.tab), (QStringList{Words::settingsPickedInOrder(), Words::settingsOtherLanguages()}));
    EXPECT_TRUE(t.tab->tickFor(pt)->isChecked());
    EXPECT_EQ(t.tab->noteLabel()->text(), keepPackageNamesWhole(Words::settingsLanguagesDetail()));
    EXPECT_EQ(t.tab->countLabel()->text(), Words::languagesPicked(3, 4));

    t.tab->tickFor(en)->click();
    settle();
    EXPECT_EQ(t.stored(), (QStringList{pt, de}));
    EXPECT_EQ(ids(t.tab->lists().others), (QStringList{en, fr}));  // back in its place by name
    EXPECT_FALSE(t.tab->tickFor(en)->isChecked());
}

TEST(LanguagesTab, AnUnsupportedStoredIdCountsButHasNoRowAndClearRemovesIt) {
    const QString gone = QStringLiteral("xx-Latn-ZZ");
    Tab t(picking({en, de, fr}), {gone});
    EXPECT_EQ(t.tab->countLabel()->text(), Words::languagesPicked(1, 3));
    EXPECT_EQ(t.tab->countLabel()->text(), QStringLiteral("1 of 3 picked"));
    EXPECT_EQ(t.tab->noteLabel()->text(), keepPackageNamesWhole(Words::settingsLanguagesDetail()));
    EXPECT_EQ(t.tab->tickFor(gone), nullptr);
    EXPECT_TRUE(t.tab->lists().picked.empty());
    EXPECT_TRUE(headings(*t.tab).isEmpty());
    ASSERT_TRUE(t.tab->clearButton()->isEnabled());

    t.tab->clearButton()->click();
    settle();
    EXPECT_TRUE(t.stored().isEmpty());
    EXPECT_FALSE(t.tab->clearButton()->isEnabled());
    EXPECT_EQ(t.tab->noteLabel()->text(), Words::settingsNoneChosen());
    EXPECT_EQ(t.fake.model->prefs().followSystemLanguages, false);
}

TEST(LanguagesTab, ASearchThatFindsNothingShowsNothingMatchesWhoseClearBringsTheListBack) {
    Tab t(picking({en, de, fr}), {fr});
    auto* area = qobject_cast<QStackedWidget*>(t.tab->listScroll()->parentWidget());
    ASSERT_NE(area, nullptr);

    t.tab->findField()->setText(QStringLiteral("fren"));  // typed into the field
    settle();
    EXPECT_EQ(t.tab->query(), QStringLiteral("fren"));
    EXPECT_EQ(ids(t.tab->lists().picked), QStringList{fr});
    EXPECT_TRUE(t.tab->lists().others.empty());
    EXPECT_EQ(headings(*t.tab), QStringList{Words::settingsPickedInOrder()});  // no "Others" heading

    t.tab->findField()->setText(QStringLiteral("Latn"));
    settle();
    EXPECT_EQ(area->currentWidget(), t.tab->nothingMatches());

    t.tab->nothingMatches()->clearButton()->click();
    settle();
    EXPECT_TRUE(t.tab->query().isEmpty());
    EXPECT_TRUE(t.tab->findField()->text().isEmpty());
    EXPECT_EQ(area->currentWidget(), t.tab->listScroll());
    EXPECT_EQ(t.tab->lists().picked.size() + t.tab->lists().others.size(), 3u);
    EXPECT_EQ(t.stored(), QStringList{fr});  // searching never writes
}

TEST(LanguagesTab, TheNoteNeverBreaksAPackageNameAtItsHyphen) {
    Tab t(picking({en, de}), {de});
    const QLabel* note = t.tab->noteLabel();
    const QString text = note->text();
    EXPECT_EQ(QString(text).replace(QChar(0x2011), u'-'), Words::settingsLanguagesDetail());
    // Where the package names lie in the note: no line may end inside one.
    QList<std::pair<qsizetype, qsizetype>> names;
    static const QRegularExpression name(QStringLiteral("tesseract[-\\x{2011}][a-z-\\x{2011}]*[a-z]"));
    for (auto found = name.globalMatch(text); found.hasNext();) {
        const QRegularExpressionMatch match = found.next();
        names.append({match.capturedStart(), match.capturedEnd()});
    }
    ASSERT_EQ(names.size(), 2);
    for (int width = 120; width <= 640; width += 3) {
        QTextLayout layout(text, note->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            const qsizetype end = line.textStart() + line.textLength();
            // A break after a hyphen with a letter right after it splits a name.
            for (const auto& [start, stop] : names)
                EXPECT_FALSE(end > start && end < stop) << width << ": " << text.left(end).toStdString();
        }
        layout.endLayout();
    }
}

TEST(LanguagesTab, FollowingTheSystemHidesTheListNamesWhatIsReadAndKeepsTheStoredList) {
    ModelSetup setup = picking({en, de, fr});
    setup.preferred = {QStringLiteral("de-DE"), QStringLiteral("ja-JP"), QStringLiteral("en-US")};
    Tab t(setup, {}, true);
    EXPECT_TRUE(t.tab->listCard()->isHidden());
    // No list is shown, so the note asks for no picking, even with nothing stored.
    EXPECT_EQ(t.tab->noteLabel()->text(), keepPackageNamesWhole(Words::settingsLanguagesDetailFollowing()));
    const std::optional<QString> detail =
        followDetail(t.fake.model->prefs(), setup.preferred, setup.supported, QLocale(QLocale::English));
    EXPECT_EQ(detail, Words::followMacDetail({QStringLiteral("German (Germany)"),
                                              QStringLiteral("English (United States)")}));
    const auto shownDetail = [&]() -> std::optional<QString> {
        const ZantrelUI::RowTitle* title = t.tab->followSwitch()->rowTitle();
        if (title->detailLabel() == nullptr)
            return std::nullopt;
        return title->detailLabel()->text();
    };
    EXPECT_EQ(shownDetail(), detail);

    // With the switch off the stored list shows again, untouched.
    t.fake.change([&](GlyphnabCore::Preferences& p) { p.languages = {fr}; });
    t.tab->followSwitch()->setOn(false);
    settle();
    EXPECT_FALSE(t.fake.model->prefs().followSystemLanguages);
    EXPECT_FALSE(t.tab->listCard()->isHidden());
    EXPECT_EQ(ids(t.tab->lists().picked), QStringList{fr});
    EXPECT_EQ(shownDetail(), std::nullopt);
    EXPECT_FALSE(followDetail(t.fake.model->prefs(), setup.preferred, setup.supported, QLocale()).has_value());

    GlyphnabCore::Preferences following = t.fake.model->prefs();
    following.followSystemLanguages = true;
    EXPECT_EQ(followDetail(following, {QStringLiteral("ja-JP")}, setup.supported, QLocale()),
              Words::settingsFollowMacNone());
}

TEST(LanguagesTab, UseTheSystemsPicksTheMatchedSystemLanguagesInTheSystemsOrder) {
    ModelSetup setup = picking({en, de, fr});
    setup.preferred = {QStringLiteral("fr-FR"), QStringLiteral("ja-JP"), QStringLiteral("en-US"),
                       QStringLiteral("en-GB")};
    Tab t(setup, {de});
    t.tab->useSystemButton()->click();
    settle();
    EXPECT_EQ(t.stored(), (QStringList{fr, en}));
    EXPECT_FALSE(t.fake.model->prefs().followSystemLanguages);
    EXPECT_EQ(ids(t.tab->lists().picked), (QStringList{fr, en}));
}

TEST(LanguagesTab, AChangeMadeElsewhereShowsAtOnce) {
    Tab t(picking({en, de, fr}));
    t.fake.change([&](GlyphnabCore::Preferences& p) {
        p.languages = {de};
        p.detectLanguage = false;
    });
    EXPECT_NE(t.tab->tickFor(de), nullptr);
    EXPECT_TRUE(t.tab->tickFor(de)->isChecked());
    EXPECT_FALSE(t.tab->detectSwitch()->isOn());
    t.tab->detectSwitch()->setOn(true);
    EXPECT_TRUE(t.fake.model->prefs().detectLanguage);
}

}  // namespace
}  // namespace Glyphnab
