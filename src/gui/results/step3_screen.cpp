#include "gui/results/step3_screen.h"

#include <QLabel>
#include <QLineEdit>

#include "gui/results/result_field.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/results/sheet_erosion.h"

namespace brisolt::gui {

TfrmStep3::TfrmStep3(AppContext& context)
    : WizardScreen(context, ScreenId::Step3, Q(texts::results::step3::kCaption), kStandardCanvas) {
    namespace t = texts::results::step3;
    const int width = Canvas()->width();
    AddTitle(Q(t::kTitle), QRect(0, 10, width, 36));
    QLabel* explanation =
        AddLabel(Q(t::kExplanation), QRect(24, 80, width - 48, 20), "labExplanation");
    explanation->setAlignment(Qt::AlignCenter);
    const char* names[] = {"labFormula1", "labFormula2", "labFormula3"};
    const std::string_view lines[] = {t::kFormula1, t::kFormula2, t::kFormula3};
    for (int i = 0; i < 3; ++i) {
        QLabel* line = AddLabel(Q(lines[i]), QRect(24, 130 + i * 24, width - 48, 20), names[i]);
        QFont bold = line->font();
        bold.setBold(true);
        line->setFont(bold);
        line->setAlignment(Qt::AlignCenter);
    }
    QLabel* label = AddLabel(Q(t::kResultLabel), QRect(174, 250, 170, 36), "labEF");
    MakeLarge(label);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtEF_ = MakeResultField(Canvas(), "edtEF", QRect(354, 250, 140, 36), true);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmStep3::btnBackClick);
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmStep3::btnNextClick);
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmStep3::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmStep3::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmStep3::btnBackClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmStep3::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmStep3::mniVersioninfoClick);
}

void TfrmStep3::FormActivate() {
    ComputeSheetErosionRisk(Context().record);
    edtEF_->setText(Q(SheetErosionRiskText(Context().record)));
}

void TfrmStep3::btnBackClick() {
    Context().Navigate(this, ScreenId::Step2);
}

void TfrmStep3::btnNextClick() {
    Context().Navigate(this, ScreenId::Step4);
}

} // namespace brisolt::gui
