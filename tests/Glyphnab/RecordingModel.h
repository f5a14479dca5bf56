#pragma once

// A grab model over recording fakes for the tests of what sits around the model (the tray
// menu, the hot keys): every pick answers one area, every reading one code.

#include "Glyphnab/model/GlyphnabModel.h"

#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/async/Clock.h"
#include "platform/pasteboard/Pasteboard.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <memory>

namespace Glyphnab::Testing {

struct Recorded {
    int picks = 0;
    QList<QRectF> captures;
    int quits = 0;
    int openPanels = 0;
    int beeps = 0;
    // The line mode of each finished grab's notice, in order.
    QList<std::optional<ZantrelText::LineMode>> doneModes;
};

class RecordingNotice final : public NoticeShowing {
public:
    explicit RecordingNotice(std::shared_ptr<Recorded> recorded) : recorded_(std::move(recorded)) {}
    void show(const NoticeContent& content) override {
        if (const auto* done = content.asDone())
            recorded_->doneModes.append(done->mode);
    }
    bool hide() override { return false; }

private:
    std::shared_ptr<Recorded> recorded_;
};

class RecordingModel {
public:
    explicit RecordingModel(const QString& bundleId)
        : clock_(true),
          context_(bundleId, ZantrelKit::AccentPair::glyphnab,
                   ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyph & Co")}}),
                   {}) {
        auto recorded = recorded_;
        PictureSource pictures{
            [] { return true; },
            [recorded](QColor, QString) -> QCoro::Task<std::optional<QRectF>> {
                ++recorded->picks;
                co_return QRectF(20, 30, 200, 80);
            },
            [recorded](QRectF area) -> QCoro::Task<QImage> {
                recorded->captures.append(area);
                co_return QImage(16, 16, QImage::Format_RGB32);
            },
            [] {}};
        ZantrelUI::MacCalls mac(
            false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {},
            [recorded] { ++recorded->quits; }, [](const QUrl&) {}, [](const QList<QUrl>&) {},
            [recorded](const ZantrelUI::OpenAsk&) {
                ++recorded->openPanels;
                return QList<QUrl>();
            },
            [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); }, board_);
        SystemCalls system{std::move(mac), [] {}, [] {}, [recorded] { ++recorded->beeps; }};
        auto reader = [](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
            ZantrelText::Reading reading;
            reading.codes.append(ZantrelText::FoundCode{QStringLiteral("read"), QStringLiteral("QR code"), true,
                                                        QRectF(0, 0, 8, 8)});
            co_return reading;
        };
        auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
        model_ = std::make_unique<GlyphnabModel>(context_, board_, std::move(pictures), std::move(system), reader,
                                                 warmer, ModelAmbient{&clock_, [] { return QStringList{"en-Latn-US"}; },
                                                                      [] { return QStringList{"en-US"}; }});
        model_->setNotice(std::make_unique<RecordingNotice>(recorded_));
        // Preferences of an earlier test may be stored under the same identifier.
        model_->setPrefs(GlyphnabCore::Preferences());
    }

    GlyphnabModel& model() { return *model_; }
    Platform::MemoryPasteboard& board() { return *board_; }
    const Recorded& recorded() const { return *recorded_; }

    void changePrefs(const std::function<void(GlyphnabCore::Preferences&)>& change) {
        GlyphnabCore::Preferences prefs = model_->prefs();
        change(prefs);
        model_->setPrefs(prefs);
        settle();
    }

    // Lets queued menu actions and `changed` events arrive, and running work end.
    void settle() {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        TestSupport::waitUntil([this] { return !model_->busy() && !model_->picking(); });
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

private:
    Platform::ManualClock clock_;
    ZantrelUI::AppContext context_;
    std::shared_ptr<Platform::MemoryPasteboard> board_ = std::make_shared<Platform::MemoryPasteboard>();
    std::shared_ptr<Recorded> recorded_ = std::make_shared<Recorded>();
    std::unique_ptr<GlyphnabModel> model_;
};

}  // namespace Glyphnab::Testing
