// What a D-Bus caller sends to the copy-text and file methods: a MIME type, bytes and
// URIs, separated here by zero bytes. Decoded without a crash, and never into a file
// that is not local.

#include "Glyphnab/shell/AppBusArguments.h"
#include "text/ImageInput.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz-dbus";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)application;

    const QList<QByteArray> fields = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    const QString mimeType = QString::fromUtf8(fields.value(0));
    const QByteArray bytes = fields.value(1);
    QStringList uris;
    for (qsizetype i = 2; i < fields.size(); ++i)
        uris.append(QString::fromUtf8(fields[i]));

    for (const QString& uri : uris)
        if (const std::optional<QUrl> url = Glyphnab::AppBusArguments::localFile(uri); url && !url->isLocalFile())
            std::abort();
    const auto board = Glyphnab::AppBusArguments::copyTextBoard(uris, bytes, mimeType);
    if (board) {
        (void)ZantrelText::ImageInput::hasInput(*board);
        if (const std::optional<QImage> picture = board->image())
            if (std::int64_t{picture->width()} * picture->height() > ZantrelText::ImageInput::pixelBudget)
                std::abort();
    }
    return 0;
}
