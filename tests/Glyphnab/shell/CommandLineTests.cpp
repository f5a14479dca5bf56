#include "Glyphnab/shell/CommandLine.h"

#include "Glyphnab/shell/AppIntents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace Glyphnab::CommandLine {
namespace {

using Action = Command::Action;

Parsed parsed(std::initializer_list<const char*> arguments) {
    QStringList list;
    for (const char* argument : arguments)
        list.append(QString::fromUtf8(argument));
    return parse(list);
}

QString problem(const Parsed& result) {
    const auto* misuse = std::get_if<Misuse>(&result);
    return misuse != nullptr ? misuse->problem : QStringLiteral("(no misuse)");
}

TEST(CommandLineParse, TheThreeCommandsAndHelp) {
    EXPECT_EQ(parsed({"grab"}), Parsed(Command{Action::grab, {}}));
    EXPECT_EQ(parsed({"grab", "--other"}), Parsed(Command{Action::grab, {}, true}));
    EXPECT_EQ(parsed({"read", "a.png", "b.pdf"}), Parsed(Command{Action::read, {"a.png", "b.pdf"}}));
    EXPECT_EQ(parsed({"read", "-"}), Parsed(Command{Action::read, {"-"}}));
    EXPECT_EQ(parsed({"code", "qr.png"}), Parsed(Command{Action::code, {"qr.png"}}));
    // After "--" a file may start with a dash, and "-" is a file name like any other.
    EXPECT_EQ(parsed({"read", "--", "-odd.png", "-"}), Parsed(Command{Action::read, {"-odd.png", "-"}}));
    for (const char* help : {"help", "--help", "-h"})
        EXPECT_EQ(parsed({help}), Parsed(Command{Action::help, {}})) << help;
}

TEST(CommandLineParse, HelpOnACommandWinsBeforeItsFilesAreLookedAt) {
    const auto help = Parsed(Command{Action::help, {}});
    EXPECT_EQ(parsed({"read", "--help"}), help);
    EXPECT_EQ(parsed({"read", "a.png", "-h"}), help);
    EXPECT_EQ(parsed({"code", "-h", "a.png", "b.png"}), help);
    EXPECT_EQ(parsed({"grab", "--help"}), help);
    EXPECT_EQ(parsed({"read", "--", "-h"}), Parsed(Command{Action::read, {"-h"}}));
}

TEST(CommandLineInput, StandardInputIsReadUpToItsCap) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("input"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3 << 20, 'x'));
    }
    std::FILE* stream = std::fopen(path.toLocal8Bit().constData(), "rb");
    ASSERT_NE(stream, nullptr);
    const auto whole = readInput(stream, qsizetype{4} << 20);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size(), 3 << 20);
    std::rewind(stream);
    const auto refused = readInput(stream, qsizetype{2} << 20);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), u"is larger than 2 MB");
    std::fclose(stream);
}

TEST(CommandLineParse, MisusesSayWhatWasWrong) {
    EXPECT_EQ(problem(parsed({"grab", "now"})), u"grab takes no arguments but --other");
    EXPECT_EQ(problem(parsed({"grab", "--other", "--other"})), u"grab takes no arguments but --other");
    EXPECT_EQ(problem(parsed({"read"})), u"read needs a file");
    EXPECT_EQ(problem(parsed({"code", "--"})), u"code needs a file");
    EXPECT_EQ(problem(parsed({"code", "a.png", "b.png"})), u"code reads one file");
    EXPECT_EQ(problem(parsed({"read", "--keep", "a.png"})), u"unknown option --keep");
    EXPECT_EQ(problem(parsed({"read", "-", "a.png", "-"})), u"standard input can be read only once");
    EXPECT_EQ(problem(parsed({"reed", "a.png"})), u"unknown command reed");
}

TEST(CommandLineParse, TheAppsOwnArgumentsAreLeftToIt) {
    QTemporaryDir folder;
    const QString bare = QDir(folder.path()).filePath(QStringLiteral("README"));
    QFile(bare).open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const auto app = Parsed(AppArguments{});
    EXPECT_EQ(parsed({}), app);
    EXPECT_EQ(parsed({"--version"}), app);
    EXPECT_EQ(parsed({"--state-dir", "/tmp/state"}), app);
    EXPECT_EQ(parsed({"--read-file"}), app);
    EXPECT_EQ(parsed({"scan.png"}), app);
    EXPECT_EQ(parsed({"/home/me/Scans/receipt"}), app);
    EXPECT_EQ(parsed({"file:///home/me/a.pdf"}), app);
    // A bare word that names a file here is a file to open, not a command.
    EXPECT_EQ(parsed({"README"}), app);
    QDir::setCurrent(previous);
}

TEST(CommandLineUsage, NamesEachCommandWithItsAction) {
    const QString usage = usageText();
    EXPECT_TRUE(usage.startsWith(u"Usage: glyphnab grab"));
    for (const QString& title :
         {GrabAreaIntent::title(), ReadTextInFileIntent::title(), ReadCodeInFileIntent::title()})
        EXPECT_TRUE(usage.contains(title)) << title.toStdString();
}

}  // namespace
}  // namespace Glyphnab::CommandLine
