#include "gui/site/step1_screen.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/radio_group.h"
#include "gui/shell/widget_refill.h"
#include "key/core/texts.h"
#ifdef BRISOLT_HAVE_TERRAIN
#include "gui/site/terrain_window.h"
#include "key/core/texts_terrain.h"
#endif

namespace brisolt::gui {

namespace {

// Columns of the input rows: "?" button, label, control.
constexpr int kHelpX = 24;
constexpr int kLabelX = 56;
constexpr int kLabelWidth = 190;
constexpr int kControlX = 250;
constexpr int kDescriptionWidth = 410;
constexpr int kRowHeight = 21;

// Rows, top to bottom.
constexpr int kRegionY = 68;
constexpr int kGradientY = 132;
constexpr int kFloatDistanceY = 162;
constexpr int kSoilTypeY = 196;
constexpr int kStonesY = 260;
constexpr int kManagementY = 296;

} // namespace

TfrmStep1::TfrmStep1(AppContext& context)
    : WizardScreen(context, ScreenId::Step1, Q(texts::step1::kCaption), kStandardCanvas) {
    namespace t = texts::step1;
    AddTitle(Q(t::kTitle), QRect(0, 10, Canvas()->width(), 36));

    // Region with its description below the choice.
    AddLabel(Q(t::kRegion), QRect(kLabelX, kRegionY, kLabelWidth, kRowHeight), "labRegion");
    cmbRegion_ = new QComboBox(Canvas());
    cmbRegion_->setObjectName("cmbRegion");
    cmbRegion_->setGeometry(kControlX, kRegionY, 50, kRowHeight);
    labRegionDescription_ = AddLabel({}, QRect(kControlX, kRegionY + 25, kDescriptionWidth, 30),
                                     "labRegionDescription");
    labRegionDescription_->setWordWrap(true);
    labRegionDescription_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    AddLabel(Q(t::kGradient), QRect(kLabelX, kGradientY, kLabelWidth, kRowHeight), "labGradient");
    edtGradient_ =
        AddNumberField("edtGradient", QRect(kControlX, kGradientY, 50, kRowHeight), Q(t::kPercent));

    AddLabel(Q(t::kFloatDistance), QRect(kLabelX, kFloatDistanceY, kLabelWidth, kRowHeight),
             "labFloatDistance");
    edtFloatDistance_ = AddNumberField(
        "edtFloatDistance", QRect(kControlX, kFloatDistanceY, 50, kRowHeight), Q(t::kMetres));

    // Soil type with its description below the choice.
    AddLabel(Q(t::kSoilType), QRect(kLabelX, kSoilTypeY, kLabelWidth, kRowHeight), "labSoilType");
    cmbSoilType_ = new QComboBox(Canvas());
    cmbSoilType_->setObjectName("cmbSoilType");
    cmbSoilType_->setGeometry(kControlX, kSoilTypeY, 250, kRowHeight);
    labSoilTypeDescription_ = AddLabel({}, QRect(kControlX, kSoilTypeY + 25, kDescriptionWidth, 30),
                                       "labSoilTypeDescription");
    labSoilTypeDescription_->setWordWrap(true);
    labSoilTypeDescription_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    AddLabel(Q(t::kStones), QRect(kLabelX, kStonesY, kLabelWidth, kRowHeight), "labStones");
    edtStones_ =
        AddNumberField("edtStones", QRect(kControlX, kStonesY, 50, kRowHeight), Q(t::kPercent));

    AddLabel(Q(t::kManagement), QRect(kLabelX, kManagementY + 4, kLabelWidth, kRowHeight),
             "labEntertainment");
    rgrEntertainment_ =
        new RadioGroup(Q(t::kManagementGroup), form_.ManagementItems, "rgrEntertainment", Canvas());
    rgrEntertainment_->setGeometry(kControlX, kManagementY, 180, 72);

    // The "?" buttons stand in front of the labels of the five inputs; they have no menu entry.
    QPushButton* helpButtons[] = {
        AddHelpButton("btnHelpRegion", kRegionY, &TfrmStep1::btnHelpRegionClick),
        AddHelpButton("btnHelpGradient", kGradientY, &TfrmStep1::btnHelpGradientClick),
        AddHelpButton("btnHelpFloatDistance", kFloatDistanceY,
                      &TfrmStep1::btnHelpFloatDistanceClick),
        AddHelpButton("btnHelpSoilType", kSoilTypeY, &TfrmStep1::btnHelpSoilTypeClick),
        AddHelpButton("btnHelpStones", kStonesY, &TfrmStep1::btnHelpStonesClick),
    };

    // F1: the help page of the input that has the focus (the region's when none has).
    auto* f1 = new QAction(this);
    f1->setObjectName("actHelpF1");
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(f1);
    connect(f1, &QAction::triggered, this, [this] {
        const QWidget* focused = focusWidget();
        const int page = focused == edtGradient_        ? help::kGradient
                         : focused == edtFloatDistance_ ? help::kFloatDistance
                         : focused == cmbSoilType_      ? help::kSoilType
                         : focused == edtStones_        ? help::kStones
                                                        : help::kRegion;
        Context().OpenHelpPage(page);
    });

    QPushButton* back =
        AddRowButton(Q(texts::common::kBack), "btnBack", 0, &TfrmStep1::btnBackClick);
    QPushButton* next =
        AddRowButton(Q(texts::common::kNext), "btnNext", 1, &TfrmStep1::btnNextClick);
    QPushButton* close =
        AddRowButton(Q(texts::common::kClose), "btnClose", -1, &TfrmStep1::btnCloseClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmStep1::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", &TfrmStep1::btnBackClick);
#ifdef BRISOLT_HAVE_TERRAIN
    FileMenu()->addSeparator();
    AddMenuEntry(FileMenu(), Q(texts::terrain::kMenu), "mniTerrain", &TfrmStep1::mniTerrainClick);
    FileMenu()->addSeparator();
#endif
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", &TfrmStep1::btnCloseClick);
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmStep1::mniVersioninfoClick);

    // Choices: only the user's own choices reach the form (refills are signal-blocked).
    ConnectGuarded(cmbRegion_, &QComboBox::activated, &TfrmStep1::cmbRegionChange);
    ConnectGuarded(cmbSoilType_, &QComboBox::activated, &TfrmStep1::cmbSoilTypeChange);
    ConnectGuarded(rgrEntertainment_, &RadioGroup::answerClicked,
                   &TfrmStep1::rgrEntertainmentClick);
    // The form always holds a number field's text as it stands; it is reduced to digits
    // when the field is left.
    connect(edtGradient_, &QLineEdit::textEdited, this, &TfrmStep1::edtGradientChange);
    connect(edtFloatDistance_, &QLineEdit::textEdited, this, &TfrmStep1::edtFloatDistanceChange);
    connect(edtStones_, &QLineEdit::textEdited, this, &TfrmStep1::edtStonesChange);
    ConnectGuarded(edtGradient_, &QLineEdit::editingFinished, &TfrmStep1::edtGradientExit);
    ConnectGuarded(edtFloatDistance_, &QLineEdit::editingFinished,
                   &TfrmStep1::edtFloatDistanceExit);
    ConnectGuarded(edtStones_, &QLineEdit::editingFinished, &TfrmStep1::edtStonesExit);

    // Tab order: the inputs top to bottom, the button row, then the "?" buttons.
    QWidget* chain[] = {cmbRegion_,
                        edtGradient_,
                        edtFloatDistance_,
                        cmbSoilType_,
                        edtStones_,
                        rgrEntertainment_->Button(0),
                        rgrEntertainment_->Button(1),
                        back,
                        next,
                        close,
                        helpButtons[0],
                        helpButtons[1],
                        helpButtons[2],
                        helpButtons[3],
                        helpButtons[4]};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
    ShowForm(); // the record is read only when the window becomes active
}

QLineEdit* TfrmStep1::AddNumberField(const QString& objectName, const QRect& rect,
                                     const QString& unit) {
    auto* edit = new QLineEdit(Canvas());
    edit->setObjectName(objectName);
    edit->setGeometry(rect);
    AddLabel(unit, QRect(rect.right() + 6, rect.y(), 20, rect.height()));
    return edit;
}

QPushButton* TfrmStep1::AddHelpButton(const QString& objectName, int y, void (TfrmStep1::*slot)()) {
    QPushButton* button =
        AddButton(Q(texts::common::kHelpButton), objectName, QPoint(kHelpX, y), slot);
    button->setFixedSize(22, kRowHeight);
    return button;
}

void TfrmStep1::cmbRegionChange(int index) {
    form_.RegionChange(Context().record, index);
    ShowForm();
}

void TfrmStep1::cmbSoilTypeChange(int index) {
    form_.SoilTypeChange(Context().record, index);
    ShowForm();
}

void TfrmStep1::rgrEntertainmentClick(int position) {
    form_.EntertainmentClick(Context().record, position);
    ShowForm();
}

void TfrmStep1::edtGradientChange(const QString& text) {
    form_.GradientText = U(text);
}

void TfrmStep1::edtFloatDistanceChange(const QString& text) {
    form_.FloatDistanceText = U(text);
}

void TfrmStep1::edtStonesChange(const QString& text) {
    form_.StonesText = U(text);
}

void TfrmStep1::edtGradientExit() {
    NumberFieldExit(NumberField::Gradient);
}

void TfrmStep1::edtFloatDistanceExit() {
    NumberFieldExit(NumberField::FloatDistance);
}

void TfrmStep1::edtStonesExit() {
    NumberFieldExit(NumberField::Stones);
}

void TfrmStep1::btnHelpRegionClick() {
    Context().OpenHelpPage(help::kRegion);
}

void TfrmStep1::btnHelpGradientClick() {
    Context().OpenHelpPage(help::kGradient);
}

void TfrmStep1::btnHelpFloatDistanceClick() {
    Context().OpenHelpPage(help::kFloatDistance);
}

void TfrmStep1::btnHelpSoilTypeClick() {
    Context().OpenHelpPage(help::kSoilType);
}

void TfrmStep1::btnHelpStonesClick() {
    Context().OpenHelpPage(help::kStones);
}

void TfrmStep1::btnBackClick() {
    Context().Navigate(this, ScreenId::Business);
}

void TfrmStep1::NumberFieldExit(NumberField field) {
    // The reduced text goes back into the field even when storing it fails.
    struct Refill {
        TfrmStep1* screen;
        ~Refill() { screen->ShowForm(); }
    } refill{this};
    switch (field) {
    case NumberField::Gradient:
        form_.GradientExit(Context().record);
        break;
    case NumberField::FloatDistance:
        form_.FloatDistanceExit(Context().record);
        break;
    case NumberField::Stones:
        form_.StonesExit(Context().record);
        break;
    }
}

void TfrmStep1::btnNextClick() {
    // A menu command leaves the focus in the field being typed in: finish that field first,
    // as leaving it would.
    const QWidget* focused = focusWidget();
    if (focused == edtGradient_) {
        NumberFieldExit(NumberField::Gradient);
    } else if (focused == edtFloatDistance_) {
        NumberFieldExit(NumberField::FloatDistance);
    } else if (focused == edtStones_) {
        NumberFieldExit(NumberField::Stones);
    }
    const std::optional<std::string> refusal = form_.Next(Context().record);
    ShowForm();
    if (refusal) {
        Messages::Show(this, Q(*refusal));
        return;
    }
    Context().Navigate(this, ScreenId::Step2);
}

#ifdef BRISOLT_HAVE_TERRAIN
void TfrmStep1::mniTerrainClick() {
    if (terrain_ == nullptr) {
        QString error;
        terrain_ = CreateTerrainWindow(this, error);
        if (terrain_ == nullptr) {
            Messages::ShowError(this, error);
            return;
        }
        connect(terrain_, &QDialog::accepted, this,
                [this] { Guarded([this] { TakeTerrainFigures(); }); });
        terrain_->OpenRemembered();
    }
    terrain_->open(); // modal to step 1; returns at once
}

void TfrmStep1::TakeTerrainFigures() {
    if (!terrain_->Usable()) {
        return;
    }
    // What a user typing the figures does: edit the field, then leave it.
    const QString gradient = QString::number(terrain_->Gradient());
    edtGradient_->setText(gradient);
    edtGradientChange(gradient);
    edtGradientExit();
    const QString flowLength = QString::number(terrain_->FlowLength());
    edtFloatDistance_->setText(flowLength);
    edtFloatDistanceChange(flowLength);
    edtFloatDistanceExit();
}
#endif

void TfrmStep1::ShowForm() {
    SetItemsIfChanged(cmbRegion_, form_.RegionItems, form_.RegionIndex);
    labRegionDescription_->setText(Q(form_.RegionDescription));
    SetTextIfChanged(edtGradient_, form_.GradientText);
    SetTextIfChanged(edtFloatDistance_, form_.FloatDistanceText);
    SetItemsIfChanged(cmbSoilType_, form_.SoilTypeItems, form_.SoilTypeIndex);
    labSoilTypeDescription_->setText(Q(form_.SoilTypeDescription));
    SetTextIfChanged(edtStones_, form_.StonesText);
    rgrEntertainment_->SetChecked(form_.EntertainmentIndex);
}

void TfrmStep1::FormActivate() {
    form_.Activate(Context().record);
    ShowForm();
}

} // namespace brisolt::gui
