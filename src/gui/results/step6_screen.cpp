#include "gui/results/step6_screen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/radio_group.h"
#include "gui/shell/widget_refill.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/results/soil_depth.h"

namespace brisolt::gui {

TfrmStep6::TfrmStep6(AppContext& context)
    : WizardScreen(context, ScreenId::Step6, Q(texts::results::step6::kCaption), kStandardCanvas) {
    namespace t = texts::results::step6;
    const int width = Canvas()->width();
    AddTitle(Q(t::kTitle), QRect(0, 10, width, 36));

    constexpr int kGroupWidth = 220;
    ragMethod_ = new RadioGroup(Q(t::kMethodTitle), DepthMethods(), "ragMethod", Canvas());
    ragMethod_->setGeometry((width - kGroupWidth) / 2, 100, kGroupWidth, 92);
    ConnectGuarded(ragMethod_, &RadioGroup::answerClicked, &TfrmStep6::ragMethodClick);

    QLabel* label = AddLabel(Q(t::kDepthLabel), QRect(24, 214, width - 48, 20), "labDepthSoil");
    label->setAlignment(Qt::AlignCenter);
    edtDepthSoil_ = new QLineEdit(Canvas());
    edtDepthSoil_->setObjectName("edtDepthSoil");
    edtDepthSoil_->setGeometry((width - 60) / 2, 238, 60, 21);
    connect(edtDepthSoil_, &QLineEdit::textEdited, this, &TfrmStep6::edtDepthSoilChange);
    ConnectGuarded(edtDepthSoil_, &QLineEdit::editingFinished, &TfrmStep6::edtDepthSoilExit);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmStep6::btnBackClick);
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmStep6::btnNextClick);
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2, &TfrmStep6::btnAssistanceClick);
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmStep6::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmStep6::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmStep6::btnBackClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmStep6::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 &TfrmStep6::btnAssistanceClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmStep6::mniVersioninfoClick);
    ShowForm(); // the record is read only when the window becomes active
}

void TfrmStep6::ragMethodClick(int position) {
    // Whatever the outcome, the window shows the form as it now stands.
    struct Refill {
        TfrmStep6* screen;
        ~Refill() { screen->ShowForm(); }
    } refill{this};
    form_.MethodClick(Context().record, position);
}

void TfrmStep6::edtDepthSoilChange(const QString& text) {
    form_.SetDepthText(U(text));
}

void TfrmStep6::edtDepthSoilExit() {
    struct Refill {
        TfrmStep6* screen;
        ~Refill() { screen->ShowForm(); } // the digits go back into the field even on failure
    } refill{this};
    form_.DepthSoilExit(Context().record);
}

void TfrmStep6::btnNextClick() {
    // A menu command leaves the focus in the field: finish it first, as leaving it would.
    if (focusWidget() == edtDepthSoil_ && !edtDepthSoil_->isReadOnly()) {
        edtDepthSoilExit();
    }
    if (const auto refusal = form_.Next(Context().record)) {
        Messages::Show(this, Q(*refusal));
        return;
    }
    Context().Navigate(this, ScreenId::Step7);
}

void TfrmStep6::ShowForm() {
    ragMethod_->SetChecked(form_.MethodIndex);
    SetTextIfChanged(edtDepthSoil_, form_.DepthText);
    edtDepthSoil_->setReadOnly(form_.DepthReadOnly);
    // A filled-in standard depth is shown on the window's background, an input on the
    // normal input background.
    QPalette palette = edtDepthSoil_->palette();
    const QPalette normal = QApplication::palette(edtDepthSoil_);
    palette.setColor(QPalette::Base, form_.DepthReadOnly ? normal.color(QPalette::Window)
                                                         : normal.color(QPalette::Base));
    edtDepthSoil_->setPalette(palette);
}

void TfrmStep6::FormActivate() {
    form_.Activate(Context().record);
    ShowForm();
}

void TfrmStep6::btnBackClick() {
    Context().Navigate(this, ScreenId::Step5);
}

void TfrmStep6::btnAssistanceClick() {
    Context().OpenHelpPage(help::kSoilDepth);
}

} // namespace brisolt::gui
