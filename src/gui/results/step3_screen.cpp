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

    AddRowButton(Q(texts::common::kBack), "btnBack", 0,
                 [this] { Context().Navigate(this, ScreenId::Step2); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1,
                 [this] { Context().Navigate(this, ScreenId::Step4); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1,
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext",
                 [this] { Context().Navigate(this, ScreenId::Step4); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack",
                 [this] { Context().Navigate(this, ScreenId::Step2); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose",
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep3::Activated() {
    ComputeSheetErosionRisk(Context().record);
    edtEF_->setText(Q(SheetErosionRiskText(Context().record)));
}

} // namespace brisolt::gui
