#include "Glyphnab/windows/LanguagesTab.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Localization.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/FindField.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SectionLabel.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/pieces/TickBox.h"
#include "platform/async/MainThread.h"
#include "text/LanguageMatch.h"

#include <QGridLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace Glyphnab {
namespace {

namespace Words = GlyphnabCore::Words;
using namespace ZantrelUI;

const char* const languageIdProperty = "glyphnab.languageId";

// A grid of ticks, `columns` equal columns filled row by row, each tick at its column's
// leading edge.
QWidget* tickGrid(const std::vector<LanguageEntry>& entries, int columns, const QStringList& stored,
                  const std::function<void(const QString&, bool)>& tick) {
    auto* grid = new QWidget();
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(10);
    for (int c = 0; c < columns; ++c) {
        layout->setColumnStretch(c, 1);
        layout->setColumnMinimumWidth(c, 10);
    }
    int index = 0;
    for (const LanguageEntry& entry : entries) {
        auto* toggle = new TickBoxToggle(entry.name, stored.contains(entry.id));
        toggle->setProperty(languageIdProperty, entry.id);
        const QString id = entry.id;
        QObject::connect(toggle, &QAbstractButton::clicked, toggle, [tick, id](bool on) { tick(id, on); });
        layout->addWidget(toggle, index / columns, index % columns, Qt::AlignLeft | Qt::AlignVCenter);
        ++index;
    }
    return grid;
}

// A slim bar drawn from the tokens: the style's slider as a capsule, no track, no arrows,
// so it sits on the glass card in either appearance.
class SlimScrollBar final : public QScrollBar {
public:
    explicit SlimScrollBar(QWidget* parent = nullptr) : QScrollBar(Qt::Vertical, parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
        const qreal width = 6;
        const QRectF capsule(slider.center().x() - width / 2 + 0.5, slider.top() + 2, width, slider.height() - 4);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Surface::strongFill().resolve(this));
        painter.drawRoundedRect(capsule, width / 2, width / 2);
    }
};

}  // namespace

LanguagesTab::LanguagesTab(GlyphnabModel& model, QString query, QWidget* parent)
    : QWidget(parent), model_(model), query_(std::move(query)) {
    Platform::assertMain();
    const GlyphnabCore::Preferences& prefs = model_.prefs();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    auto* switches = new SettingsCard();
    shownFollowDetail_ =
        followDetail(prefs, model_.preferredLanguages(), model_.supportedLanguages(), ZantrelKit::Localization::locale());
    follow_ = new SettingsSwitch(Words::settingsFollowMac(), shownFollowDetail_, prefs.followSystemLanguages);
    detect_ = new SettingsSwitch(Words::settingsDetectLanguage(), std::nullopt, prefs.detectLanguage);
    switches->addRow(follow_);
    switches->addRow(detect_);
    column->addWidget(switches);
    connect(follow_, &SettingsSwitch::toggled, this, [this](bool on) {
        GlyphnabCore::Preferences changed = model_.prefs();
        changed.followSystemLanguages = on;
        model_.setPrefs(changed);
    });
    connect(detect_, &SettingsSwitch::toggled, this, [this](bool on) {
        GlyphnabCore::Preferences changed = model_.prefs();
        changed.detectLanguage = on;
        model_.setPrefs(changed);
    });

    listCard_ = new SettingsCard();
    auto* searchRow = new QWidget();
    searchRow->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* search = new QHBoxLayout(searchRow);
    search->setContentsMargins(0, 12, 0, 12);
    search->setSpacing(8);
    find_ = new FindField(Words::settingsSearchLanguages(), query_);
    count_ = new InkLabel(QString(), Fonts::footnote(), Ink::secondary());
    count_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    useSystem_ = new PillButton(Words::settingsUseMacs());
    clear_ = new PillButton(Words::settingsClearLanguages());
    search->addWidget(find_, 1);
    search->addWidget(count_);
    search->addWidget(useSystem_);
    search->addWidget(clear_);
    listCard_->addRow(searchRow);
    connect(find_, &FindField::textChanged, this, &LanguagesTab::setQuery);
    connect(useSystem_, &QAbstractButton::clicked, this, &LanguagesTab::useSystemLanguages);
    connect(clear_, &QAbstractButton::clicked, this, &LanguagesTab::clearLanguages);

    listArea_ = new QStackedWidget();
    listArea_->setFixedHeight(listHeight);
    scroll_ = new QScrollArea();
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBar(new SlimScrollBar());
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->setAutoFillBackground(false);
    nothing_ = new NothingMatches([this] { setQuery(QString()); });
    listArea_->addWidget(scroll_);
    listArea_->addWidget(nothing_);
    listCard_->addRow(listArea_);
    column->addWidget(listCard_);

    note_ = new InkLabel(QString(), Fonts::footnote(), Ink::secondary());
    note_->setWordWrap(true);
    note_->setContentsMargins(4, 0, 4, 0);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(note_);

    connect(&model_, &GlyphnabModel::prefsChanged, this, &LanguagesTab::refresh);
    refresh();
}

bool LanguagesTab::event(QEvent* event) {
    // Pieces that keep their colours (the "nothing matches" texts) learn of the window's
    // appearance only when told: tell the whole tab once it is placed.
    if (event->type() == QEvent::ParentChange)
        Environment::notifyChanged(this);
    return QWidget::event(event);
}

LanguageLists LanguagesTab::lists() const {
    return languageLists(model_.supportedLanguages(), model_.prefs().languages, query_,
                         ZantrelKit::Localization::locale());
}

void LanguagesTab::setQuery(const QString& query) {
    Platform::assertMain();
    if (find_->text() != query)
        find_->setText(query);  // comes back here through textChanged
    if (query_ == query)
        return;
    query_ = query;
    rebuildList();
}

TickBoxToggle* LanguagesTab::tickFor(const QString& id) const {
    if (!listContent_)
        return nullptr;
    for (TickBoxToggle* toggle : listContent_->findChildren<TickBoxToggle*>())
        if (toggle->property(languageIdProperty).toString() == id)
            return toggle;
    return nullptr;
}

void LanguagesTab::refresh() {
    const GlyphnabCore::Preferences& prefs = model_.prefs();
    {
        const QSignalBlocker quiet(follow_);
        follow_->setOn(prefs.followSystemLanguages);
    }
    {
        const QSignalBlocker quiet(detect_);
        detect_->setOn(prefs.detectLanguage);
    }
    refreshFollowDetail();
    listCard_->setVisible(!prefs.followSystemLanguages);
    count_->setText(Words::languagesPicked(prefs.languages.size(), model_.supportedLanguages().size()));
    clear_->setEnabled(!prefs.languages.isEmpty());
    note_->setText(keepPackageNamesWhole(languagesNote(prefs)));
    rebuildList();
}

void LanguagesTab::refreshFollowDetail() {
    const std::optional<QString> detail = followDetail(model_.prefs(), model_.preferredLanguages(),
                                                       model_.supportedLanguages(), ZantrelKit::Localization::locale());
    if (detail == shownFollowDetail_)
        return;
    shownFollowDetail_ = detail;
    follow_->setDetail(detail);
}

void LanguagesTab::rebuildList() {
    const QStringList& stored = model_.prefs().languages;
    if (builtFrom_ && builtFrom_->first == stored && builtFrom_->second == query_)
        return;
    builtFrom_ = std::pair{stored, query_};

    const LanguageLists shown = lists();
    if (shown.empty()) {
        listArea_->setCurrentWidget(nothing_);
    } else {
        listArea_->setCurrentWidget(scroll_);
    }

    // Keep the keyboard on the language it was on, and the list where it was scrolled.
    QString focusedId;
    if (listContent_)
        if (QWidget* focused = listContent_->focusWidget(); focused && focused->hasFocus())
            focusedId = focused->property(languageIdProperty).toString();
    const int scrolled = scroll_->verticalScrollBar()->value();

    auto* content = new QWidget();
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 12, 0, 12);
    stack->setSpacing(8);
    const auto tick = [self = QPointer<LanguagesTab>(this)](const QString& id, bool on) {
        if (self)
            self->tick(id, on);
    };
    if (!shown.picked.empty()) {
        stack->addWidget(new SectionLabel(Words::settingsPickedInOrder()), 0, Qt::AlignLeft);
        stack->addWidget(tickGrid(shown.picked, 1, stored, tick));
        if (!shown.others.empty()) {
            stack->addSpacing(8);
            stack->addWidget(new SectionLabel(Words::settingsOtherLanguages()), 0, Qt::AlignLeft);
        }
    }
    stack->addWidget(tickGrid(shown.others, 2, stored, tick));
    stack->addStretch(1);

    // The tick that was clicked may be the one being replaced: let it finish first.
    if (QWidget* old = scroll_->takeWidget())
        old->deleteLater();
    scroll_->setWidget(content);
    content->setAutoFillBackground(false);  // the scroll area fills its widget; the card shows through
    listContent_ = content;
    if (!focusedId.isEmpty())
        if (TickBoxToggle* again = tickFor(focusedId))
            again->setFocus(Qt::OtherFocusReason);
    QMetaObject::invokeMethod(
        scroll_, [bar = QPointer<QScrollBar>(scroll_->verticalScrollBar()), scrolled] {
            if (bar)
                bar->setValue(scrolled);
        },
        Qt::QueuedConnection);
}

void LanguagesTab::tick(const QString& id, bool on) {
    Platform::assertMain();
    writeLanguages(withLanguage(model_.prefs().languages, id, on));
}

void LanguagesTab::useSystemLanguages() {
    Platform::assertMain();
    writeLanguages(ZantrelText::LanguageMatch::match(model_.preferredLanguages(), model_.supportedLanguages()));
}

void LanguagesTab::clearLanguages() {
    Platform::assertMain();
    writeLanguages({});
}

void LanguagesTab::writeLanguages(const QStringList& languages) {
    GlyphnabCore::Preferences changed = model_.prefs();
    changed.languages = languages;
    model_.setPrefs(changed);
}

}  // namespace Glyphnab
