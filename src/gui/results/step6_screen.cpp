#include "gui/results/step6_screen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "gui/results/radio_group.h"
#include "gui/shell/qt_text.h"
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
    ragMethod_->OnClick([this](int position) {
        Guarded([this, position] {
            // Whatever the outcome, the window shows the form as it now stands.
            struct Refill {
                TfrmStep6* screen;
                ~Refill() { screen->ShowForm(); }
            } refill{this};
            form_.MethodClick(Context().record, position);
        });
    });

    QLabel* label = AddLabel(Q(t::kDepthLabel), QRect(24, 214, width - 48, 20), "labDepthSoil");
    label->setAlignment(Qt::AlignCenter);
    edtDepthSoil_ = new QLineEdit(Canvas());
    edtDepthSoil_->setObjectName("edtDepthSoil");
    edtDepthSoil_->setGeometry((width - 60) / 2, 238, 60, 21);
    connect(edtDepthSoil_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.SetDepthText(U(text)); });
    connect(edtDepthSoil_, &QLineEdit::editingFinished, this,
            [this] { Guarded([this] { DepthSoilExit(); }); });

    AddRowButton(Q(texts::common::kBack), "btnBack", 0,
                 [this] { Context().Navigate(this, ScreenId::Step5); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Next(); });
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2,
                 [this] { Context().OpenHelpPage(help::kSoilDepth); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1,
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Next(); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack",
                 [this] { Context().Navigate(this, ScreenId::Step5); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose",
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 [this] { Context().OpenHelpPage(help::kSoilDepth); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 [this] { Context().OpenHelpPage(help::kImprint); });
    ShowForm(); // the record is read only when the window becomes active
}

void TfrmStep6::DepthSoilExit() {
    struct Refill {
        TfrmStep6* screen;
        ~Refill() { screen->ShowForm(); } // the digits go back into the field even on failure
    } refill{this};
    form_.DepthSoilExit(Context().record);
}

void TfrmStep6::Next() {
    // A menu command leaves the focus in the field: finish it first, as leaving it would.
    if (focusWidget() == edtDepthSoil_ && !edtDepthSoil_->isReadOnly()) {
        DepthSoilExit();
    }
    form_.Next(Context().record);
    Context().Navigate(this, ScreenId::Step7);
}

void TfrmStep6::ShowForm() {
    ragMethod_->SetChecked(form_.MethodIndex);
    const QSignalBlocker blocker(edtDepthSoil_);
    if (edtDepthSoil_->text() != Q(form_.DepthText)) {
        edtDepthSoil_->setText(Q(form_.DepthText));
    }
    edtDepthSoil_->setReadOnly(form_.DepthReadOnly);
    // A filled-in standard depth is shown on the window's background, an input on the
    // normal input background.
    QPalette palette = edtDepthSoil_->palette();
    const QPalette normal = QApplication::palette(edtDepthSoil_);
    palette.setColor(QPalette::Base, form_.DepthReadOnly ? normal.color(QPalette::Window)
                                                         : normal.color(QPalette::Base));
    edtDepthSoil_->setPalette(palette);
}

void TfrmStep6::Activated() {
    form_.Activate(Context().record);
    ShowForm();
}

} // namespace brisolt::gui
