#include "ZantrelKit/DataFolder.h"
#include "ZantrelKit/OwnerConfig.h"
#include "ZantrelKit/PropertyList.h"
#include "ZantrelKit/RunModes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZantrelKit;

namespace {

OwnerConfig configWith(const QVariantMap& info) { return OwnerConfig(info); }

TEST(OwnerConfig, PlaceholderAnywhereReadsAsAbsentButLowerCaseDoesNot) {
    const OwnerConfig config = configWith({
        {QStringLiteral("plain"), QStringLiteral("PLACEHOLDER")},
        {QStringLiteral("url"), QStringLiteral("https://PLACEHOLDER/feed.xml")},
        {QStringLiteral("inside"), QStringLiteral("abcPLACEHOLDERdef")},
        {QStringLiteral("lower"), QStringLiteral("placeholder")},
    });
    EXPECT_FALSE(config.value(QStringLiteral("plain")));
    EXPECT_FALSE(config.value(QStringLiteral("url")));
    EXPECT_FALSE(config.value(QStringLiteral("inside")));
    EXPECT_EQ(config.value(QStringLiteral("lower")), QStringLiteral("placeholder"));
}

TEST(OwnerConfig, EmptyIsAbsentAndABlankIsPresentUntrimmed) {
    const OwnerConfig config = configWith({{QStringLiteral("empty"), QString()},
                                           {QStringLiteral("blank"), QStringLiteral(" ")},
                                           {QStringLiteral("Case"), QStringLiteral(" x ")}});
    EXPECT_FALSE(config.value(QStringLiteral("empty")));
    EXPECT_EQ(config.value(QStringLiteral("blank")), QStringLiteral(" "));
    EXPECT_EQ(config.value(QStringLiteral("Case")), QStringLiteral(" x "));
    EXPECT_FALSE(config.value(QStringLiteral("case")));
    EXPECT_FALSE(config.value(QStringLiteral("missing")));
}

TEST(OwnerConfig, KeepsOnlyTextValues) {
    const OwnerConfig config = configWith({{QStringLiteral("version"), 12},
                                           {QStringLiteral("flag"), true},
                                           {QStringLiteral("list"), QVariantList{QStringLiteral("a")}},
                                           {QStringLiteral("name"), QStringLiteral("Glyphnab")}});
    EXPECT_EQ(config.info().size(), 1);
    EXPECT_FALSE(config.value(QStringLiteral("version")));
    EXPECT_EQ(config.value(QStringLiteral("name")), QStringLiteral("Glyphnab"));
}

TEST(OwnerConfig, UpdatesNeedBothKeys) {
    const QString feed = QStringLiteral("SUFeedURL");
    const QString key = QStringLiteral("SUPublicEDKey");
    EXPECT_FALSE(configWith({}).updatesConfigured());
    EXPECT_FALSE(configWith({{feed, QStringLiteral("https://example.test/a.xml")}}).updatesConfigured());
    EXPECT_FALSE(configWith({{key, QStringLiteral("abc")}}).updatesConfigured());
    EXPECT_FALSE(configWith({{feed, QStringLiteral("https://x")}, {key, QStringLiteral("PLACEHOLDER")}})
                     .updatesConfigured());
    EXPECT_FALSE(configWith({{feed, QString()}, {key, QStringLiteral("abc")}}).updatesConfigured());
    EXPECT_TRUE(configWith({{feed, QStringLiteral("https://x")}, {key, QStringLiteral("abc")}}).updatesConfigured());
}

TEST(OwnerConfig, ProductNameFallsBackInOrder) {
    EXPECT_EQ(Product(configWith({{QStringLiteral("CFBundleDisplayName"), QStringLiteral("Shown")},
                                  {QStringLiteral("CFBundleName"), QStringLiteral("Plain")}}))
                  .name,
              QStringLiteral("Shown"));
    EXPECT_EQ(Product(configWith({{QStringLiteral("CFBundleDisplayName"), QStringLiteral("PLACEHOLDER")},
                                  {QStringLiteral("CFBundleName"), QStringLiteral("Plain")}}))
                  .name,
              QStringLiteral("Plain"));
    const Product bare(configWith({}));
    EXPECT_EQ(bare.name, QStringLiteral("?"));
    EXPECT_EQ(bare.boxName, QStringLiteral("?"));
    EXPECT_EQ(Product(configWith({{QStringLiteral("ZNBoxName"), QStringLiteral("Zantrel")}})).boxName,
              QStringLiteral("Zantrel"));
}

TEST(PropertyList, ReadsTypedValuesAndRefusesOtherXml) {
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>CFBundleName</key><string>Glyphnab &amp; Co</string>
  <key>Build</key><integer>42</integer>
  <key>Ratio</key><real>1.5</real>
  <key>On</key><true/>
  <key>Nested</key><dict><key>a</key><array><string>x</string><false/></array></dict>
</dict></plist>)";
    const auto info = PropertyList::read(xml);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->value(QStringLiteral("CFBundleName")).toString(), QStringLiteral("Glyphnab & Co"));
    EXPECT_EQ(info->value(QStringLiteral("Build")).toLongLong(), 42);
    EXPECT_EQ(info->value(QStringLiteral("On")).toBool(), true);
    const OwnerConfig config(*info);
    EXPECT_EQ(config.info().size(), 1);  // only the text survives
    EXPECT_FALSE(PropertyList::read("<html><body/></html>"));
    EXPECT_FALSE(PropertyList::read("<plist><dict><key>a</key>"));
    EXPECT_FALSE(PropertyList::readFile(QStringLiteral("/nonexistent/Info.plist")));
}

TEST(OwnerConfig, TheAppsOwnInfoPlistIsFound) {
    const OwnerConfig config;
    EXPECT_EQ(Product(config).name, QStringLiteral("Glyphnab"));
    EXPECT_TRUE(config.value(QStringLiteral("CFBundleShortVersionString")));
    EXPECT_FALSE(config.updatesConfigured());
}

TEST(RunModes, TestHostDetection) {
    const Environment marked{{QStringLiteral("XCTestConfigurationFilePath"), QString()}};
    EXPECT_TRUE(TestHost::detect(marked, false, true));  // presence counts, not the value
    EXPECT_FALSE(TestHost::detect(marked, true, false));
    EXPECT_TRUE(TestHost::detect({}, true, true));
    EXPECT_FALSE(TestHost::detect({}, false, true));
    EXPECT_TRUE(TestHost::isActive());
    EXPECT_FALSE(ScriptedRun::isActive());
}

TEST(RunModes, ScriptedRunDetection) {
    const auto env = [](const char* key, const char* value) {
        return Environment{{QString::fromLatin1(key), QString::fromLatin1(value)}};
    };
    EXPECT_TRUE(ScriptedRun::detect({}, {}, true));
    EXPECT_TRUE(ScriptedRun::detect(env("ZANTREL_TEST_DESKTOP", "1"), {}, false));
    EXPECT_TRUE(ScriptedRun::detect(env("ZANTREL_NEEDS_SCREEN", "1"), {}, false));
    EXPECT_FALSE(ScriptedRun::detect(env("ZANTREL_TEST_DESKTOP", "true"), {}, false));
    EXPECT_FALSE(ScriptedRun::detect(env("ZANTREL_TEST_DESKTOP", "01"), {}, false));
    EXPECT_FALSE(ScriptedRun::detect(env("ZANTREL_NEEDS_SCREEN", " 1"), {}, false));
    EXPECT_TRUE(ScriptedRun::detect({}, {QStringLiteral("glyphnab"), QStringLiteral("--state-dir")}, false));
    EXPECT_FALSE(ScriptedRun::detect({}, {QStringLiteral("--state-dir=/tmp/x")}, false));
    EXPECT_FALSE(ScriptedRun::detect({}, {QStringLiteral("--state-directory")}, false));
}

TEST(RunModes, ProcessArgumentsAreReadWithoutAnApplication) {
    const QStringList arguments = processArguments();
    ASSERT_FALSE(arguments.isEmpty());
    EXPECT_TRUE(arguments.first().contains(QStringLiteral("ZantrelKitTests")));
}

TEST(KitBundle, FirstCandidateHoldingTheBundleWins) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString a = root.filePath(QStringLiteral("a"));
    const QString b = root.filePath(QStringLiteral("b"));
    const QString c = root.filePath(QStringLiteral("c"));
    QDir().mkpath(b + QStringLiteral("/ZantrelKit_ZantrelKit.bundle"));
    QDir().mkpath(c + QStringLiteral("/ZantrelKit_ZantrelKit.bundle"));
    QDir().mkpath(a);
    EXPECT_EQ(locateKitBundle({QString(), a, b, c}), b + QStringLiteral("/ZantrelKit_ZantrelKit.bundle"));
    EXPECT_FALSE(locateKitBundle({a}));
    EXPECT_FALSE(locateKitBundle({}));
    EXPECT_TRUE(QFileInfo(kitResourceBundle() + QStringLiteral("/box-apps.json")).exists());
}

}  // namespace
