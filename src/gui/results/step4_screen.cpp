#include "gui/results/step4_screen.h"

#include <QLabel>
#include <QPushButton>

#include "gui/shell/qt_text.h"
#include "gui/shell/radio_group.h"
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
        groups_[static_cast<std::size_t>(place.question)] = group;
    }
    const auto connectGroup = [this](RillQuestion question, void (TfrmStep4::*slot)(int)) {
        ConnectGuarded(Group(question), &RadioGroup::answerClicked, slot);
    };
    connectGroup(RillQuestion::Channels, &TfrmStep4::ragChannelsClick);
    connectGroup(RillQuestion::NumChannels, &TfrmStep4::ragNumChannelsClick);
    connectGroup(RillQuestion::DepthChannels, &TfrmStep4::ragDepthChannelsClick);
    connectGroup(RillQuestion::DepthChannel, &TfrmStep4::ragDepthChannelClick);
    connectGroup(RillQuestion::WidthChannel, &TfrmStep4::ragWidthChannelClick);
    connectGroup(RillQuestion::FrequencyChannels, &TfrmStep4::ragFrequencyChannelsClick);

    QLabel* note = AddLabel(Q(t::kNote), QRect(24, 356, width - 48, 20), "labNote");
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    note->setAlignment(Qt::AlignCenter);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmStep4::btnBackClick);
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmStep4::btnNextClick);
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2, &TfrmStep4::btnAssistanceClick);
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmStep4::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmStep4::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmStep4::btnBackClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmStep4::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 &TfrmStep4::btnAssistanceClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmStep4::mniVersioninfoClick);
    ShowForm(); // the record is read only when the window becomes active
}

void TfrmStep4::ragChannelsClick(int position) {
    form_.ChannelsClick(Context().record, position);
    ShowForm();
}

void TfrmStep4::ragNumChannelsClick(int position) {
    form_.NumChannelsClick(Context().record, position);
    ShowForm();
}

void TfrmStep4::ragDepthChannelsClick(int position) {
    form_.DepthChannelsClick(Context().record, position);
    ShowForm();
}

void TfrmStep4::ragDepthChannelClick(int position) {
    form_.DepthChannelClick(Context().record, position);
    ShowForm();
}

void TfrmStep4::ragWidthChannelClick(int position) {
    form_.WidthChannelClick(Context().record, position);
    ShowForm();
}

void TfrmStep4::ragFrequencyChannelsClick(int position) {
    form_.FrequencyChannelsClick(Context().record, position);
    ShowForm();
}

void TfrmStep4::btnNextClick() {
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

void TfrmStep4::FormActivate() {
    form_.Activate(Context().record);
    ShowForm();
}

void TfrmStep4::btnBackClick() {
    Context().Navigate(this, ScreenId::Step3);
}

void TfrmStep4::btnAssistanceClick() {
    Context().OpenHelpPage(help::kRills);
}

} // namespace brisolt::gui
