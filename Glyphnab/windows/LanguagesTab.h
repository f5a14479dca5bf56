#pragma once

// The Settings tab that decides which languages recognition reads: follow the system's
// languages, detect the language of each grab, or pick languages from a searchable list
// of everything the recognizer supports (the picked ones first, in reading order). It
// keeps no preference of its own: it shows the model's and writes through its setter.

#include "Glyphnab/windows/LanguageLists.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QScrollArea;
class QStackedWidget;

namespace ZantrelUI {
class FindField;
class NothingMatches;
class PillButton;
class SettingsCard;
class SettingsSwitch;
class TickBoxToggle;
}  // namespace ZantrelUI

namespace Glyphnab {

class GlyphnabModel;

class LanguagesTab final : public QWidget {
    Q_OBJECT
public:
    static constexpr int listHeight = 260;

    LanguagesTab(GlyphnabModel& model, QString query = {}, QWidget* parent = nullptr);

    const QString& query() const { return query_; }
    void setQuery(const QString& query);

    // The two lists the list card shows now.
    LanguageLists lists() const;

    ZantrelUI::SettingsSwitch* followSwitch() const { return follow_; }
    ZantrelUI::SettingsSwitch* detectSwitch() const { return detect_; }
    ZantrelUI::SettingsCard* listCard() const { return listCard_; }
    ZantrelUI::FindField* findField() const { return find_; }
    QLabel* countLabel() const { return count_; }
    ZantrelUI::PillButton* useSystemButton() const { return useSystem_; }
    ZantrelUI::PillButton* clearButton() const { return clear_; }
    QLabel* noteLabel() const { return note_; }
    // Shown instead of the lists while both are empty.
    ZantrelUI::NothingMatches* nothingMatches() const { return nothing_; }
    QScrollArea* listScroll() const { return scroll_; }
    // The tick of a listed language, or none when it has no row.
    ZantrelUI::TickBoxToggle* tickFor(const QString& id) const;

protected:
    bool event(QEvent* event) override;

private:
    void refresh();
    void refreshFollowDetail();
    void rebuildList();
    void tick(const QString& id, bool on);
    void useSystemLanguages();
    void clearLanguages();
    void writeLanguages(const QStringList& languages);

    GlyphnabModel& model_;
    QString query_;
    ZantrelUI::SettingsSwitch* follow_;
    ZantrelUI::SettingsSwitch* detect_;
    ZantrelUI::SettingsCard* listCard_;
    ZantrelUI::FindField* find_;
    QLabel* count_;
    ZantrelUI::PillButton* useSystem_;
    ZantrelUI::PillButton* clear_;
    QStackedWidget* listArea_;
    QScrollArea* scroll_;
    ZantrelUI::NothingMatches* nothing_;
    QLabel* note_;
    QPointer<QWidget> listContent_;
    std::optional<QString> shownFollowDetail_;
    // What the list was last built from; a change of anything else leaves it alone.
    std::optional<std::pair<QStringList, QString>> builtFrom_;
};

}  // namespace Glyphnab
