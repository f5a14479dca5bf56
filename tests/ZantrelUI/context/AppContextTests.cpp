#include "ZantrelKit/RunModes.h"
#include "ZantrelUI/context/AppContext.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using ZantrelKit::AccentPair;
using ZantrelKit::OwnerConfig;
using ZantrelUI::AppContext;

OwnerConfig configOf(QVariantMap info) { return OwnerConfig(info); }

TEST(AppContext, BuildsFromItsInputsAndBecomesCurrent) {
    ASSERT_TRUE(ZantrelKit::TestHost::isActive());
    const auto context = std::make_unique<AppContext>(
        QStringLiteral("org.zantrel.contexttest"), AccentPair::glyphnab,
        configOf({{QStringLiteral("CFBundleName"), QStringLiteral("Plain")},
                  {QStringLiteral("ZNBoxName"), QStringLiteral("Box")}}),
        QStringList{QStringLiteral("app")});
    EXPECT_EQ(AppContext::current(), context.get());
    EXPECT_EQ(context->bundleId(), QStringLiteral("org.zantrel.contexttest"));
    EXPECT_EQ(context->product().name, QStringLiteral("Plain"));
    EXPECT_EQ(context->product().boxName, QStringLiteral("Box"));
    EXPECT_EQ(context->accent().name, AccentPair::glyphnab.name);
    // The test host keeps its state (and its defaults suite) under the caches, apart from
    // the user's own settings.
    ASSERT_TRUE(context->folders().defaultsSuite);
    EXPECT_FALSE(context->usesStandardDefaults());
    context->defaults().setBool(QStringLiteral("grant.x.seen"), true);
    EXPECT_EQ(context->defaults().boolValue(QStringLiteral("grant.x.seen")), true);
}

TEST(AppContext, ProductNameFallsBackToQuestionMark) {
    const AppContext context(QStringLiteral("org.zantrel.contexttest"), AccentPair::glyphnab, configOf({}), {});
    EXPECT_EQ(context.product().name, QStringLiteral("?"));
    EXPECT_EQ(context.product().boxName, QStringLiteral("?"));
}

TEST(AppContext, CurrentIsAbsentOnceReleasedAndANewerOneStaysCurrent) {
    auto first = std::make_unique<AppContext>(QStringLiteral("org.zantrel.first"), AccentPair::glyphnab,
                                              configOf({}), QStringList{});
    auto second = std::make_unique<AppContext>(QStringLiteral("org.zantrel.second"), AccentPair::glyphnab,
                                               configOf({}), QStringList{});
    EXPECT_EQ(AppContext::current(), second.get());
    first.reset();  // an older context going away leaves the newer one current
    EXPECT_EQ(AppContext::current(), second.get());
    second.reset();
    EXPECT_EQ(AppContext::current(), nullptr);
}

TEST(AppContext, ScriptedRunKeepsItsDefaultsUnderTheStateFolder) {
    QTemporaryDir state;
    ASSERT_TRUE(state.isValid());
    const AppContext context(QStringLiteral("org.zantrel.scripted"), AccentPair::glyphnab, configOf({}),
                             {QStringLiteral("app"), QStringLiteral("--state-dir"), state.path()}, true);
    ASSERT_TRUE(context.folders().defaultsSuite);
    EXPECT_TRUE(context.folders().defaultsSuite->startsWith(state.path()));
    EXPECT_FALSE(context.usesStandardDefaults());
}

TEST(AppContextDefaults, AnUnusableSuiteGivesNoStore) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A plain file where the suite's folder should be: the folder cannot be made.
    QFile blocker(folder.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(ZantrelUI::suiteDefaults(folder.filePath(QStringLiteral("blocker/defaults"))), nullptr);
    EXPECT_EQ(ZantrelUI::suiteDefaults(folder.path()), nullptr);  // a folder, not a file
    EXPECT_EQ(ZantrelUI::suiteDefaults({}), nullptr);
    EXPECT_NE(ZantrelUI::suiteDefaults(folder.filePath(QStringLiteral("new/defaults"))), nullptr);
}

TEST(AppContextDefaults, StandardDefaultsLiveInTheAppsConfigFolder) {
    const auto store = ZantrelUI::standardDefaults(QStringLiteral("org.glyphnab.Glyphnab"));
    EXPECT_TRUE(store->fileName().endsWith(QStringLiteral("/Glyphnab/Glyphnab.ini"))) << store->fileName().toStdString();
}

TEST(AppVersion, FallsBackWhenMissingOrNotText) {
    EXPECT_EQ(ZantrelUI::appShortVersion(QVariantMap{}), QStringLiteral("1.0"));
    EXPECT_EQ(ZantrelUI::appBuildNumber(QVariantMap{}), QString());
    const QVariantMap numbers{{QStringLiteral("CFBundleShortVersionString"), 2},
                              {QStringLiteral("CFBundleVersion"), 41}};
    EXPECT_EQ(ZantrelUI::appShortVersion(numbers), QStringLiteral("1.0"));
    EXPECT_EQ(ZantrelUI::appBuildNumber(numbers), QString());
    const QVariantMap texts{{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("2.3")},
                            {QStringLiteral("CFBundleVersion"), QStringLiteral("230")}};
    EXPECT_EQ(ZantrelUI::appShortVersion(texts), QStringLiteral("2.3"));
    EXPECT_EQ(ZantrelUI::appBuildNumber(texts), QStringLiteral("230"));
}

}  // namespace
