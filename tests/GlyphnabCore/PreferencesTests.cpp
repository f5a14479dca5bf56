#include "GlyphnabCore/Preferences.h"

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace GlyphnabCore;
using ZantrelKit::MemoryDefaultsStore;
using ZantrelKit::Shortcut;
using ZantrelText::LineMode;

namespace {

Preferences stored(const QByteArray& json) {
    MemoryDefaultsStore store;
    store.setBytes(QStringLiteral("preferences"), json);
    return Preferences::load(store);
}

}  // namespace

TEST(PreferencesDefaults, ShortcutsAreTAndJWithControlShiftCommand) {
    const auto& table = Preferences::defaultShortcuts();
    EXPECT_EQ(table.at(Command::grab), (Shortcut{17, Shortcut::Modifiers(13)}));
    EXPECT_EQ(table.at(Command::grabOther), (Shortcut{38, Shortcut::Modifiers(13)}));
}

TEST(PreferencesLoading, UnusableDocumentsGiveEveryDefault) {
    MemoryDefaultsStore empty;
    EXPECT_EQ(Preferences::load(empty), Preferences());
    for (const QByteArray& data : {QByteArray(), QByteArray("not json"), QByteArray("[1,2]"), QByteArray("\"x\""), QByteArray("null")})
        EXPECT_EQ(stored(data), Preferences()) << data.constData();
}

TEST(PreferencesLoading, EachKeyFallsBackAlone) {
    Preferences expected;
    expected.route = Route::clipboard;
    EXPECT_EQ(stored(R"({"route":"clipboard"})"), expected);

    const Preferences mixed = stored(
        R"({"lineMode":"sideways","route":"clipboard","showIcon":"yes","keepRecents":false,)"
        R"("detectLanguage":null,"languages":["de",3],"onboarded":1,"followSystemLanguages":false})");
    EXPECT_EQ(mixed.lineMode, LineMode::keep);
    EXPECT_TRUE(mixed.showIcon);
    EXPECT_TRUE(mixed.detectLanguage);
    EXPECT_TRUE(mixed.languages.isEmpty());
    EXPECT_FALSE(mixed.onboarded);
    EXPECT_EQ(mixed.route, Route::clipboard);
    EXPECT_FALSE(mixed.keepRecents);
    EXPECT_FALSE(mixed.followSystemLanguages);
}

TEST(PreferencesLoading, ShortcutTableCountsAsAWhole) {
    const Preferences unknown = stored(R"({"shortcuts":{"grab":{"keyCode":1,"modifiers":8},"paste":{"keyCode":2,"modifiers":8}}})");
    EXPECT_EQ(unknown.shortcuts, Preferences::defaultShortcuts());
    const Preferences badValue = stored(R"({"shortcuts":{"grab":{"keyCode":70000,"modifiers":8}}})");
    EXPECT_EQ(badValue.shortcuts, Preferences::defaultShortcuts());
    const Preferences grabOnly = stored(R"({"shortcuts":{"grab":{"keyCode":1,"modifiers":8}}})");
    ASSERT_EQ(grabOnly.shortcuts.size(), 1u);
    EXPECT_EQ(grabOnly.shortcuts.at(Command::grab), (Shortcut{1, Shortcut::Modifiers(8)}));
}

TEST(PreferencesSaving, RoundTripsThroughASettingsFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Glyphnab.ini"));
    {
        ZantrelKit::SettingsDefaultsStore store(path);
        EXPECT_TRUE(Preferences().save(store));
    }
    ZantrelKit::SettingsDefaultsStore reopened(path);
    EXPECT_EQ(Preferences::load(reopened), Preferences());

    Preferences changed;
    changed.lineMode = LineMode::join;
    changed.languages = {"fr-FR", "de-DE"};
    changed.shortcuts.erase(Command::grabOther);
    changed.onboarded = true;
    EXPECT_TRUE(changed.save(reopened));
    EXPECT_EQ(Preferences::load(ZantrelKit::SettingsDefaultsStore(path)), changed);
    const QJsonObject json = changed.toJson();
    EXPECT_EQ(json.size(), 9);
}

TEST(PreferencesSaving, AnUnwritableFileIsReported) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A plain file where the settings folder should be: no one, root included, can write there.
    const QString blocker = folder.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ZantrelKit::SettingsDefaultsStore store(blocker + QStringLiteral("/Glyphnab.ini"));
    const auto saved = Preferences().save(store);
    ASSERT_FALSE(saved.has_value());
    EXPECT_TRUE(saved.error().reason.contains(QStringLiteral("Glyphnab.ini")));
}

TEST(PreferencesLanguages, FollowTheSystemOrThePickedSupportedOnes) {
    Preferences preferences;
    preferences.followSystemLanguages = false;
    preferences.languages = {"de-DE", "xx-YY"};
    EXPECT_EQ(preferences.recognitionLanguages({"en"}, {"en-US", "de-DE"}), QStringList{"de-DE"});
    preferences.languages.clear();
    EXPECT_TRUE(preferences.recognitionLanguages({"en"}, {"en-US"}).isEmpty());
    preferences.followSystemLanguages = true;
    EXPECT_EQ(preferences.recognitionLanguages({"en"}, {"de-DE", "en-US"}), QStringList{"en-US"});
}

TEST(PreferencesSaving, WhatLoadingCouldNotTakeWholeIsKeptBeforeTheFirstSave) {
    const QDateTime now(QDate(2026, 12, 9), QTime(21, 50, 0));
    const QString keptKey = QStringLiteral("preferences.unreadable-20261209-215000");
    for (const QByteArray& document :
         {QByteArray(R"({"route": "clipboard", "onboarded": tru)"), QByteArray(R"({"showIcon": "yes please"})"),
          QByteArray(R"({"shortcuts": {"grab": {"keyCode": 99999, "modifiers": 13}}})"),
          QByteArray(R"({"route": "nowhere"})"), QByteArray(R"({"route": "clipboard", "colour": "teal"})"),
          QByteArray("[1, 2, 3]")}) {
        MemoryDefaultsStore store;
        store.setBytes(QStringLiteral("preferences"), document);
        EXPECT_EQ(Preferences::keepUnreadable(store, now), keptKey) << document.toStdString();
        EXPECT_EQ(store.bytes(keptKey), document) << document.toStdString();
    }

    // A change saved over a broken document: the document is kept beside the new one,
    // once.
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("defaults.ini"));
    {
        ZantrelKit::SettingsDefaultsStore store(ini);
        store.setBytes(QStringLiteral("preferences"), R"({"route": "nowhere", "keepRecents": false})");
        Preferences changed = Preferences::load(store);
        changed.showIcon = false;
        ASSERT_TRUE(changed.save(store));
        changed.detectLanguage = false;
        ASSERT_TRUE(changed.save(store));
        EXPECT_EQ(Preferences::load(store), changed);
    }
    QSettings written(ini, QSettings::IniFormat);
    QStringList kept = written.childKeys().filter(QStringLiteral("preferences.unreadable-"));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(written.value(kept.front()).toByteArray(), QByteArray(R"({"route": "nowhere", "keepRecents": false})"));

    // A document that reads whole, or nothing at all, is not copied.
    MemoryDefaultsStore clean;
    ASSERT_TRUE(Preferences().save(clean));
    EXPECT_EQ(Preferences::keepUnreadable(clean, now), std::nullopt);
    MemoryDefaultsStore handWritten;
    handWritten.setString(QStringLiteral("preferences"), QStringLiteral(R"({"route": "clipboard"})"));
    EXPECT_EQ(Preferences::keepUnreadable(handWritten, now), std::nullopt);

    // Two broken saves in the same second do not overwrite each other's copy.
    MemoryDefaultsStore twice;
    twice.setBytes(QStringLiteral("preferences"), "broken");
    EXPECT_EQ(Preferences::keepUnreadable(twice, now), keptKey);
    twice.setBytes(QStringLiteral("preferences"), "broken again");
    EXPECT_EQ(Preferences::keepUnreadable(twice, now), keptKey + QStringLiteral("-2"));
    EXPECT_EQ(twice.bytes(keptKey), QByteArray("broken"));
}
