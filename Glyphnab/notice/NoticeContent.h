#pragma once

// What a notice says: the content the model hands over (a finished grab, a failure, or
// work under way) and the pure rules that turn it into a title, a detail line, an icon,
// buttons and the sentence spoken for accessibility.

#include "GlyphnabCore/Outcome.h"
#include "GlyphnabCore/PageCut.h"
#include "text/LineMode.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>
#include <variant>

namespace Glyphnab {

// Where the grabbed picture came from.
enum class GrabSource : std::uint8_t { screen, clipboard, file };

// The notice's view of a reading's progress: a fixed page count and the pages done so
// far. The model's progress record implements it.
class NoticeProgress : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual int pages() const = 0;
    virtual int done() const = 0;

Q_SIGNALS:
    void doneChanged();
};

struct NoticeContent {
    struct Done {
        GlyphnabCore::Outcome outcome;
        // The mode the grab used; none when the notice reports a copy of a given text.
        std::optional<ZantrelText::LineMode> mode;
        GrabSource source = GrabSource::screen;
        // Only when a PDF was read in part.
        std::optional<GlyphnabCore::PageCut> cut;
    };
    struct Failure {
        QString title;
        QString detail;
    };
    struct Busy {
        QPointer<NoticeProgress> progress;
    };

    std::variant<Done, Failure, Busy> value;

    static NoticeContent done(GlyphnabCore::Outcome outcome, std::optional<ZantrelText::LineMode> mode,
                              GrabSource source, std::optional<GlyphnabCore::PageCut> cut = std::nullopt) {
        return {Done{std::move(outcome), mode, source, cut}};
    }
    static NoticeContent failure(QString title, QString detail) {
        return {Failure{std::move(title), std::move(detail)}};
    }
    static NoticeContent busy(NoticeProgress* progress) { return {Busy{progress}}; }

    const Done* asDone() const { return std::get_if<Done>(&value); }
    const Failure* asFailure() const { return std::get_if<Failure>(&value); }
    const Busy* asBusy() const { return std::get_if<Busy>(&value); }

    // Stays up longer; a done notice lingers exactly when it offers a button.
    bool lingers() const;
};

// What a notice button does; the view maps each to the presenter's actions.
struct NoticeButton {
    struct GrabAgain {
        std::optional<ZantrelText::LineMode> mode;
    };
    struct CopyText {
        QString text;
    };
    struct CopyOtherWay {
        GlyphnabCore::Outcome outcome;
        ZantrelText::LineMode mode;
    };
    struct Open {
        QUrl link;
    };
    using Action = std::variant<GrabAgain, CopyText, CopyOtherWay, Open>;

    QString title;
    bool prominent = false;
    Action action;
};

namespace NoticeText {

QString title(const NoticeContent& content);
// `appName` names the app in the several-files page-cut sentence.
std::optional<QString> detail(const NoticeContent& content, const QString& appName);
// The round icon's symbol for contents that show no check.
QString symbol(const NoticeContent& content);
// A done notice whose kind is not nothing shows the check instead of the icon.
bool showsCheck(const NoticeContent& content);
QList<NoticeButton> buttons(const NoticeContent& content);
// Title and detail as sentences, each ending with a full stop, joined by one blank.
QString announcement(const NoticeContent& content, const QString& appName);
// The busy bar's fraction: done ÷ pages, 0 without pages.
double busyFraction(const NoticeContent::Busy& busy);

}  // namespace NoticeText

}  // namespace Glyphnab
