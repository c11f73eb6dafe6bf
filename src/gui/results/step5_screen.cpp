#include "gui/results/step5_screen.h"

#include <QLabel>
#include <QLineEdit>

#include "gui/results/result_field.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/results/total_risk.h"

namespace brisolt::gui {

TfrmStep5::TfrmStep5(AppContext& context)
    : WizardScreen(context, ScreenId::Step5, Q(texts::results::step5::kCaption), kStandardCanvas) {
    namespace t = texts::results::step5;
    const int width = Canvas()->width();
    AddTitle(Q(t::kTitle), QRect(0, 10, width, 36));
    const char* names[] = {"labFormula1", "labFormula2", "labFormula3"};
    const std::string_view lines[] = {t::kFormula1, t::kFormula2, t::kFormula3};
    for (int i = 0; i < 3; ++i) {
        QLabel* line = AddLabel(Q(lines[i]), QRect(24, 90 + i * 24, width - 48, 20), names[i]);
        QFont bold = line->font();
        bold.setBold(true);
        line->setFont(bold);
        line->setAlignment(Qt::AlignCenter);
    }
    // Labels end at one right edge, the results start beside it.
    constexpr int kLabelRight = 344;
    constexpr int kFieldX = 354;
    QLabel* total = AddLabel(Q(t::kTotalLabel), QRect(kLabelRight - 200, 210, 200, 36), "labEFL");
    MakeLarge(total);
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtEFL_ = MakeResultField(Canvas(), "edtEFL", QRect(kFieldX, 210, 140, 36), true);

    QLabel* mm =
        AddLabel(Q(t::kSoilLossMMLabel), QRect(kLabelRight - 220, 266, 220, 20), "labSoilLossMM");
    mm->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtSoilLossMM_ =
        MakeResultField(Canvas(), "edtSoilLossMM", QRect(kFieldX, 266, 100, 20), false);
    QLabel* tha =
        AddLabel(Q(t::kSoilLossTHALabel), QRect(kLabelRight - 220, 292, 220, 20), "labSoilLossTHA");
    tha->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtSoilLossTHA_ =
        MakeResultField(Canvas(), "edtSoilLossTHA", QRect(kFieldX, 292, 100, 20), false);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmStep5::btnBackClick);
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmStep5::btnNextClick);
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2, &TfrmStep5::btnAssistanceClick);
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmStep5::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmStep5::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmStep5::btnBackClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmStep5::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 &TfrmStep5::btnAssistanceClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmStep5::mniVersioninfoClick);
}

void TfrmStep5::FormActivate() {
    ComputeTotalRisk(Context().record);
    const AssessmentRecord& record = Context().record;
    edtEFL_->setText(Q(TotalRiskText(record)));
    // The soil loss is written with "." whatever the regional separator.
    edtSoilLossMM_->setText(Q(SoilLossMMText(record)));
    edtSoilLossTHA_->setText(Q(SoilLossTHAText(record)));
}

void TfrmStep5::btnBackClick() {
    Context().Navigate(this, ScreenId::Step4);
}

void TfrmStep5::btnNextClick() {
    Context().Navigate(this, ScreenId::Step6);
}

void TfrmStep5::btnAssistanceClick() {
    Context().OpenHelpPage(help::kSoilLoss);
}

} // namespace brisolt::gui
