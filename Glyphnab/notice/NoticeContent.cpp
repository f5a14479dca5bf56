#include "Glyphnab/notice/NoticeContent.h"

#include "GlyphnabCore/Words.h"

#include <QTextBoundaryFinder>

namespace Glyphnab {

using GlyphnabCore::Outcome;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

namespace {

// Characters as a reader counts them: one per grapheme cluster, so "é" written with a
// combining accent or an emoji with modifiers counts once.
qsizetype characterCount(const QString& text) {
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

bool isNothing(const NoticeContent::Done& done) { return done.outcome.kind.is<Outcome::Kind::Nothing>(); }

QString sentence(QString text) {
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

}  // namespace

bool NoticeContent::lingers() const {
    if (asBusy())
        return true;
    if (asFailure())
        return false;
    const Done& done = *asDone();
    const Outcome& outcome = done.outcome;
    if (outcome.link || outcome.alternate)
        return true;
    if (done.mode && outcome.otherWay)
        return true;
    return done.source == GrabSource::screen && isNothing(done);
}

namespace NoticeText {

QString title(const NoticeContent& content) {
    if (const auto* failure = content.asFailure())
        return failure->title;
    if (const auto* busy = content.asBusy())
        return Words::noticeReading(busy->progress ? busy->progress->pages() : 0);
    const auto& done = *content.asDone();
    if (isNothing(done)) {
        switch (done.source) {
        case GrabSource::clipboard: return Words::noticeNothingClipboard();
        case GrabSource::file: return Words::noticeNothingFile();
        case GrabSource::screen: break;
        }
        return Words::noticeNothing();
    }
    return Words::noticeTitle(done.outcome.kind, characterCount(done.outcome.copied));
}

std::optional<QString> detail(const NoticeContent& content, const QString& appName) {
    if (const auto* failure = content.asFailure())
        return failure->detail;
    if (content.asBusy())
        return std::nullopt;
    const auto& done = *content.asDone();
    const auto& kind = done.outcome.kind;
    if (done.cut && !isNothing(done))
        return Words::noticePagesCut(done.cut->read, done.cut->total, done.cut->files, appName, done.cut->limit);
    if (kind.is<Outcome::Kind::Table>())
        return Words::noticeTableDetail();
    if (kind.is<Outcome::Kind::Code>() || kind.is<Outcome::Kind::Codes>())
        return std::nullopt;
    if (kind.is<Outcome::Kind::Text>()) {
        if (done.mode)
            return Words::noticeMode(*done.mode);
        return std::nullopt;
    }
    switch (done.source) {
    case GrabSource::file: return Words::noticeNothingFileDetail();
    case GrabSource::clipboard: return Words::noticeNothingClipboardDetail();
    case GrabSource::screen: break;
    }
    return Words::noticeNothingDetail();
}

QString symbol(const NoticeContent& content) {
    if (content.asFailure())
        return QStringLiteral("exclamationmark.triangle.fill");
    if (content.asBusy())
        return QStringLiteral("text.viewfinder");
    return QStringLiteral("text.magnifyingglass");
}

bool showsCheck(const NoticeContent& content) {
    const auto* done = content.asDone();
    return done && !isNothing(*done);
}

QList<NoticeButton> buttons(const NoticeContent& content) {
    const auto* done = content.asDone();
    if (!done)
        return {};
    const Outcome& outcome = done->outcome;
    QList<NoticeButton> list;
    if (done->source == GrabSource::screen && isNothing(*done))
        list.append({Words::noticeGrabAgain(), false, NoticeButton::GrabAgain{done->mode}});
    if (outcome.alternate)
        list.append({Words::noticeCopyText(), false, NoticeButton::CopyText{*outcome.alternate}});
    if (done->mode && outcome.otherWay)
        list.append({Words::noticeCopyOtherWay(*done->mode), false, NoticeButton::CopyOtherWay{outcome, *done->mode}});
    if (outcome.link)
        list.append({Words::noticeOpen(*outcome.link), true, NoticeButton::Open{*outcome.link}});
    return list;
}

QString announcement(const NoticeContent& content, const QString& appName) {
    QString spoken = sentence(title(content));
    if (const auto line = detail(content, appName))
        spoken += QLatin1Char(' ') + sentence(*line);
    return spoken;
}

double busyFraction(const NoticeContent::Busy& busy) {
    if (!busy.progress || busy.progress->pages() <= 0)
        return 0;
    return double(busy.progress->done()) / double(busy.progress->pages());
}

}  // namespace NoticeText


}  // namespace Glyphnab
