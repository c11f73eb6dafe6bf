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
    AddButton(Q(texts::measures::kOpenButton), "btnMeasures", QPoint(540, 346),
              [this] { Context().OpenMeasures(); });

    const auto print = [this] { Context().OpenEvaluationProtocol(); };
    const auto printStep2 = [this] { Context().OpenRotationSheet(); };
    AddRowButton(Q(texts::common::kBack), "btnBack", 0,
                 [this] { Context().Navigate(this, ScreenId::Step6); });
    AddRowButton(Q(t::kPrintStep2), "btnPrintStep2", 1, printStep2);
    // Without "Weiter", Enter prints the evaluation, the step's result.
    SetDefaultButton(AddRowButton(Q(t::kPrintEvaluation), "btnPrint", 2, print));
    AddRowButton(Q(texts::common::kHelp), "btnAssistance", -2,
                 [this] { Context().OpenHelpPage(help::kFertilityRisk); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1,
                 [this] { Context().Navigate(this, ScreenId::Main); });
    // The last step has no "Weiter"; saving is a menu command only.
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack",
                 [this] { Context().Navigate(this, ScreenId::Step6); });
    AddMenuEntry(FileMenu(), Q(t::kSaveCalculation), "mniSaveCalculations",
                 [this] { Context().ShowOnTop(ScreenId::Save); });
    AddMenuEntry(FileMenu(), Q(t::kPrintEvaluation), "mniPrint", print);
    AddMenuEntry(FileMenu(), Q(t::kPrintStep2), "mniPrintStep2", printStep2);
    AddMenuEntry(FileMenu(), Q(texts::measures::kOpenMenu), "mniMeasures",
                 [this] { Context().OpenMeasures(); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose",
                 [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance",
                 [this] { Context().OpenHelpPage(help::kFertilityRisk); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep7::Activated() {
    // The legend is drawn the first time the step is shown, not at program start.
    if (imgLegend_->pixmap().isNull()) {
        imgLegend_->setPixmap(QPixmap::fromImage(DrawDiagram(QStringLiteral("legend_step7"))));
    }
    edtGBF_->setText(Q(ComputeFertilityRisk(Context().record)));
}

} // namespace brisolt::gui
