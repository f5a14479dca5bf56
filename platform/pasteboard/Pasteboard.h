#pragma once

// A pasteboard: the desktop's clipboard, or a board in memory (tests, the D-Bus copy-text
// method, the command-line actions). Writing puts plain text only.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace Platform {

// The content types boards are asked for (MIME names).
namespace PasteboardType {
inline const QString png = QStringLiteral("image/png");
inline const QString tiff = QStringLiteral("image/tiff");
inline const QString jpeg = QStringLiteral("image/jpeg");
inline const QString heic = QStringLiteral("image/heic");
inline const QString pdf = QStringLiteral("application/pdf");
inline const QString text = QStringLiteral("text/plain");
inline const QString uriList = QStringLiteral("text/uri-list");
}  // namespace PasteboardType

class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    virtual QStringList types() const = 0;
    virtual QByteArray data(const QString& type) const = 0;
    // Every URL on the board, in order (file URLs and others).
    virtual QList<QUrl> urls() const = 0;
    // Any picture the board can hand over, whatever its encoding.
    virtual std::optional<QImage> image() const = 0;
    virtual QString string() const = 0;

    virtual void clearContents() = 0;
    // Replaces the contents with one plain text; false when the board refused it.
    virtual bool setString(const QString& text) = 0;

    // The file URLs only, in order.
    QList<QUrl> fileUrls() const;
};

class MemoryPasteboard final : public Pasteboard {
public:
    MemoryPasteboard() = default;

    QStringList types() const override;
    QByteArray data(const QString& type) const override;
    QList<QUrl> urls() const override { return urls_; }
    std::optional<QImage> image() const override;
    QString string() const override { return string_.value_or(QString()); }

    void clearContents() override;
    bool setString(const QString& text) override;

    void setData(const QString& type, const QByteArray& bytes);
    void setUrls(const QList<QUrl>& urls) { urls_ = urls; }
    void setImage(const QImage& image) { image_ = image; }

    int writeCount() const { return writeCount_; }
    int clearCount() const { return clearCount_; }

private:
    QStringList order_;
    QMap<QString, QByteArray> data_;
    QList<QUrl> urls_;
    std::optional<QImage> image_;
    std::optional<QString> string_;
    int writeCount_ = 0;
    int clearCount_ = 0;
};

// The desktop's clipboard (the CLIPBOARD selection). Needs a QGuiApplication.
class ClipboardPasteboard final : public Pasteboard {
public:
    ClipboardPasteboard() = default;

    QStringList types() const override;
    QByteArray data(const QString& type) const override;
    QList<QUrl> urls() const override;
    std::optional<QImage> image() const override;
    QString string() const override;

    void clearContents() override;
    bool setString(const QString& text) override;
};

}  // namespace Platform
