#pragma once

// A model on fakes for the actions and the bus: pictures are told apart by their width,
// and the reader answers each width with the reading given for it.

#include "Glyphnab/shell/AppIntents.h"
#include "Glyphnab/model/GlyphnabModel.h"

#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/async/Clock.h"
#include "platform/pasteboard/Pasteboard.h"
#include "tests/support/TestSupport.h"
#include "tests/text/AwaitResult.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QTimer>

#include <QCoroTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>

namespace IntentFixture {

using ZantrelText::Reading;

inline Reading textReading(const QStringList& lines) {
    QList<ZantrelText::TextPiece> pieces;
    for (qsizetype i = 0; i < lines.size(); ++i)
        pieces.append({lines[i], QRectF(0, static_cast<double>(i) * 14, 8.0 * lines[i].size(), 10)});
    Reading reading;
    reading.layout = ZantrelText::TextLayout(pieces);
    return reading;
}

inline ZantrelText::FoundCode qr(const QString& payload) {
    return ZantrelText::FoundCode{payload, QStringLiteral("QR code"), true, QRectF(0, 0, 10, 10)};
}

inline QByteArray png(int width) {
    QImage picture(width, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

class ModelOnFakes : public ::testing::Test {
protected:
    ModelOnFakes()
        : clock(true),
          context(QStringLiteral("org.glyphnab.intenttest"), ZantrelKit::AccentPair::glyphnab,
                  ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}),
                  {}) {
        // The actions' temporary copies land in a folder of the test's own.
        if (qEnvironmentVariableIsSet("TMPDIR"))
            previousTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", temp.path().toUtf8());
    }
    ~ModelOnFakes() override {
        Glyphnab::setSharedModel(nullptr);
        if (previousTemp)
            qputenv("TMPDIR", *previousTemp);
        else
            qunsetenv("TMPDIR");
    }

    std::unique_ptr<Glyphnab::GlyphnabModel> makeModel() {
        Glyphnab::PictureSource pictures{
            [this] { return allowed; },
            [this](QColor, QString) -> QCoro::Task<std::optional<QRectF>> {
                const int before = cancelledPicks;
                while (pickWaitsForCancel && cancelledPicks == before) {
                    QTimer tick;
                    tick.start(5);
                    co_await tick;
                }
                co_return cancelledPicks == before ? pickAnswer : std::nullopt;
            },
            [this](QRectF) -> QCoro::Task<QImage> { co_return QImage(grabWidth, 10, QImage::Format_RGB32); },
            [this] { ++cancelledPicks; }};
        ZantrelUI::MacCalls calls(
            false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {}, [](const QUrl&) {},
            [](const QList<QUrl>&) {}, [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
            [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
            std::make_shared<Platform::MemoryPasteboard>());
        Glyphnab::SystemCalls system{std::move(calls), [] {}, [] {}, [] {}};
        auto reader = [this](QImage image, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<Reading> {
            copiesWhileReading = copies();
            if (!readings.contains(image.width()))
                throw std::runtime_error("no reading for this picture");
            co_return readings.value(image.width());
        };
        auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
        auto model = std::make_unique<Glyphnab::GlyphnabModel>(
            context, board, std::move(pictures), std::move(system), reader, warmer,
            Glyphnab::ModelAmbient{&clock, [] { return QStringList{"en-Latn-US"}; },
                                   [] { return QStringList{"en-US"}; }});
        return model;
    }

    // A picture file of the given width in the test's own folder.
    QUrl pictureFile(int width, const QString& name = {}) {
        const QString path = files.filePath(name.isEmpty() ? QStringLiteral("picture-%1.png").arg(width) : name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(png(width));
        return QUrl::fromLocalFile(path);
    }

    // Every file and folder under the actions' temporary folder, relative to it.
    QStringList copies() const {
        QStringList found;
        const QString root = QDir(temp.path()).filePath(Glyphnab::TemporaryCopy::folderName);
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(QDir(root).relativeFilePath(it.next()));
        found.sort();
        return found;
    }

    Platform::ManualClock clock;
    ZantrelUI::AppContext context;
    std::shared_ptr<Platform::MemoryPasteboard> board = std::make_shared<Platform::MemoryPasteboard>();
    QTemporaryDir temp;
    QTemporaryDir files;
    std::optional<QByteArray> previousTemp;
    QMap<int, Reading> readings;
    QStringList copiesWhileReading;
    bool allowed = true;
    std::optional<QRectF> pickAnswer = QRectF(10, 10, 100, 50);
    // The pick goes on until it is cancelled.
    bool pickWaitsForCancel = false;
    int cancelledPicks = 0;
    int grabWidth = 30;
};

}  // namespace IntentFixture
