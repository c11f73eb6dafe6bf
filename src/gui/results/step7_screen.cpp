#include "gui/results/step7_screen.h"

#include <QPixmap>

#include "gui/help/diagrams.h"

#include <QLabel>
#include <QLineEdit>

#include "gui/results/result_field.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_measures.h"
#include "key/core/texts_results.h"
#include "key/results/fertility_risk.h"

namespace brisolt::gui {

TfrmStep7::TfrmStep7(AppContext& context)
    : WizardScreen(context, ScreenId::Step7, Q(texts::results::step7::kCaption), kStandardCanvas) {
    namespace t = texts::results::step7;
    const int width = Canvas()->width();
    AddTitle(Q(t::kTitle), QRect(0, 10, width, 36));

    constexpr QSize kLegendSize(560, 270);
    imgLegend_ = AddLabel({}, QRect(QPoint((width - kLegendSize.width()) / 2, 56), kLegendSize),
                          "imgLegend");
    imgLegend_->setFrameShape(QFrame::Box);
    imgLegend_->setAlignment(Qt::AlignCenter);

    QLabel* label = AddLabel(Q(t::kResultLabel), QRect(164, 340, 180, 36), "labGBF");
    MakeLarge(label);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtGBF_ = MakeResultField(Canvas(), "edtGBF", QRect(354, 340, 140, 36), true);
    // Beside the result, above the five buttons of the row.
    AddButton(Q(texts::measures::kOpen), "btnMeasures", QPoint(540, 346),
              &TfrmStep7::btnMeasuresClick);

    AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmStep7::btnBackClick);
    AddRowButton(Q(t::kPrintStep2), "btnPrintStep2", 1, &TfrmStep7::btnPrintStep2Click);
    // Without "Weiter", Enter prints the evaluation, the step's result.
    SetDefaultButton(
        AddRowButton(Q(t::kPrintEvaluation), "btnPrint", 2, &TfrmStep7::btnPrintClick));
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2, &TfrmStep7::btnAssistanceClick);
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmStep7::btnCloseClick);
    // The last step has no "Weiter"; saving is a menu command only.
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmStep7::btnBackClick);
    AddMenuEntry(FileMenu(), Q(t::kSaveCalculation), "mniSaveCalculations",
                 &TfrmStep7::mniSaveCalculationsClick);
    AddMenuEntry(FileMenu(), Q(t::kPrintEvaluation), "mniPrint", &TfrmStep7::btnPrintClick);
    AddMenuEntry(FileMenu(), Q(t::kPrintStep2), "mniPrintStep2", &TfrmStep7::btnPrintStep2Click);
    AddMenuEntry(FileMenu(), Q(texts::measures::kOpen), "mniMeasures",
                 &TfrmStep7::btnMeasuresClick);
    AddMenuEntry(FileMenu(), Q(texts::measures::kSheetMenu), "mniMeasuresSheet",
                 &TfrmStep7::mniMeasuresSheetClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmStep7::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 &TfrmStep7::btnAssistanceClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmStep7::mniVersioninfoClick);
}

void TfrmStep7::FormActivate() {
    // The legend is drawn the first time the step is shown, not at program start.
    if (imgLegend_->pixmap().isNull()) {
        imgLegend_->setPixmap(QPixmap::fromImage(DrawDiagram(QStringLiteral("legend_step7"))));
    }
    edtGBF_->setText(Q(ComputeFertilityRisk(Context().record)));
}

void TfrmStep7::mniMeasuresSheetClick() {
    Context().OpenMeasuresSheet();
}

void TfrmStep7::btnMeasuresClick() {
    Context().OpenMeasures();
}

void TfrmStep7::btnBackClick() {
    Context().Navigate(this, ScreenId::Step6);
}

void TfrmStep7::btnPrintStep2Click() {
    Context().OpenRotationSheet();
}

void TfrmStep7::btnPrintClick() {
    Context().OpenEvaluationProtocol();
}

void TfrmStep7::btnAssistanceClick() {
    Context().OpenHelpPage(help::kFertilityRisk);
}

void TfrmStep7::mniSaveCalculationsClick() {
    Context().ShowOnTop(ScreenId::Save);
}

} // namespace brisolt::gui
