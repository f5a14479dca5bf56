#pragma once

// How far one reading has got: a fixed number of inputs and how many are finished, read
// or failed alike. The busy notice shows it.

#include "Glyphnab/notice/NoticeContent.h"

namespace Glyphnab {

class ReadProgress final : public NoticeProgress {
    Q_OBJECT
    Q_PROPERTY(int done READ done NOTIFY doneChanged)
public:
    explicit ReadProgress(int pages, QObject* parent = nullptr) : NoticeProgress(parent), pages_(pages) {}

    int pages() const override { return pages_; }
    int done() const override { return done_; }
    // One more input finished.
    void advance();

private:
    const int pages_;
    int done_ = 0;
};

}  // namespace Glyphnab
