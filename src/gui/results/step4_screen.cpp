#include "gui/results/step4_screen.h"

#include <QLabel>
#include <QPushButton>

#include "gui/results/radio_group.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"

namespace brisolt::gui {

namespace {

struct GroupPlace {
    RillQuestion question;
    const char* name;
    QRect rect;
};

// Three columns: whether rills arise; their number, depth and width (the two depth
// questions share one place, only one of them is ever shown); how often they arise.
constexpr int kTop = 74;
const GroupPlace kPlaces[] = {
    {RillQuestion::Channels, "ragChannels", QRect(24, kTop, 190, 68)},
    {RillQuestion::NumChannels, "ragNumChannels", QRect(238, kTop, 212, 68)},
    {RillQuestion::DepthChannels, "ragDepthChannels", QRect(238, kTop + 80, 212, 90)},
    {RillQuestion::DepthChannel, "ragDepthChannel", QRect(238, kTop + 80, 212, 90)},
    {RillQuestion::WidthChannel, "ragWidthChannel", QRect(238, kTop + 182, 212, 68)},
    {RillQuestion::FrequencyChannels, "ragFrequencyChannels", QRect(474, kTop, 190, 136)},
};

} // namespace

TfrmStep4::TfrmStep4(AppContext& context)
    : WizardScreen(context, ScreenId::Step4, Q(texts::results::step4::kCaption), kStandardCanvas) {
    namespace t = texts::results::step4;
    const int width = Canvas()->width();
    AddTitle(Q(t::kTitle), QRect(0, 10, width, 36));

    for (const GroupPlace& place : kPlaces) {
        const RillQuestionList& list = RillQuestionListOf(place.question);
        auto* group = new RadioGroup(Q(list.Title), list.Answers, place.name, Canvas());
        group->setGeometry(place.rect);
        const RillQuestion question = place.question;
        group->OnClick([this, question](int position) {
            Guarded([this, question, position] { Click(question, position); });
        });
        groups_[static_cast<std::size_t>(question)] = group;
    }

    QLabel* note = AddLabel(Q(t::kNote), QRect(24, 356, width - 48, 20), "labNote");
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    note->setAlignment(Qt::AlignCenter);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0,
                 [this] { Context().Navigate(this, ScreenId::Step3); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Next(); });
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2,
                 [this] { Context().OpenHelpPage(help::kRills); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1,
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Next(); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack",
                 [this] { Context().Navigate(this, ScreenId::Step3); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose",
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 [this] { Context().OpenHelpPage(help::kRills); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 [this] { Context().OpenHelpPage(help::kImprint); });
    ShowForm(); // the record is read only when the window becomes active
}

void TfrmStep4::Click(RillQuestion question, int position) {
    AssessmentRecord& record = Context().record;
    switch (question) {
    case RillQuestion::Channels:
        form_.ChannelsClick(record, position);
        break;
    case RillQuestion::NumChannels:
        form_.NumChannelsClick(record, position);
        break;
    case RillQuestion::DepthChannels:
        form_.DepthChannelsClick(record, position);
        break;
    case RillQuestion::DepthChannel:
        form_.DepthChannelClick(record, position);
        break;
    case RillQuestion::WidthChannel:
        form_.WidthChannelClick(record, position);
        break;
    case RillQuestion::FrequencyChannels:
        form_.FrequencyChannelsClick(record, position);
        break;
    }
    ShowForm();
}

void TfrmStep4::Next() {
    form_.Next(Context().record);
    Context().Navigate(this, ScreenId::Step5);
}

void TfrmStep4::ShowForm() {
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const ChoiceGroupState& state = form_.Groups[i];
        groups_[i]->SetChecked(state.ItemIndex);
        groups_[i]->setVisible(state.Visible);
    }
}

void TfrmStep4::Activated() {
    form_.Activate(Context().record);
    ShowForm();
}

} // namespace brisolt::gui
